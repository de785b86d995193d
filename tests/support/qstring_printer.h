#pragma once
// Failure messages show texts as quoted UTF-8, so a misplaced blank is visible.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

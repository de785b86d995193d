#pragma once
// Text files of this program (configuration, logs, trace) are Shift_JIS
// (code page 932) with CR LF line ends, so they move unchanged between this
// program and Windows tools.

#include <QString>

#include "base/cp932.h"

// Appends `text` + CR LF to the file (creating it when missing). False on any
// failure; the file is opened and closed within the call.
bool AppendLine(const QString& path, const QString& text);

// Creates or replaces the file with `text` + CR LF, opened and closed within
// the call. Not atomic: for files that are begun anew by design.
bool WriteNewLine(const QString& path, const QString& text);

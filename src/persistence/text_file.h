#pragma once
// Text files of this program (configuration, logs, trace) are Shift_JIS
// (code page 932) with CR LF line ends, so they move unchanged between this
// program and Windows tools.

#include <QString>

#include "base/cp932.h"

// Appends `text` + CR LF to the file (creating it when missing). False on any
// failure, and then the file is as it was before: a line is written whole or
// not at all. The file is opened and closed within the call; something that
// is not a plain file is never opened.
bool AppendLine(const QString& path, const QString& text);

// Creates or replaces the file with `text` + CR LF, opened and closed within
// the call. Not atomic: for files that are begun anew by design.
bool WriteNewLine(const QString& path, const QString& text);

#pragma once
// How the log folder is written on line 6 of TmConfig.ini. The file is
// Shift_JIS, which cannot spell every folder (/home/josé/…); the default log
// folder is the program folder, so a program folder of that kind would make
// the settings unsavable. Such a folder is written relative to the program
// folder instead, which Shift_JIS can usually spell.

#include <QString>
#include <optional>

// The folder as written: unchanged when Shift_JIS can spell it; otherwise
// "." for the program folder itself, or "./" (".\" on Windows) followed by
// its path from the program folder ("./logs", "./../logs"). Nothing when
// neither form can be spelled.
std::optional<QString> StoredSaveFolder(const QString& folder, const QString& programFolder);

// The folder a written text names: "." and "./…" (or ".\…") count from the
// program folder; any other text is the folder as written.
QString ResolvedSaveFolder(const QString& stored, const QString& programFolder);

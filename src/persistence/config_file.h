#pragma once
// TmConfig.ini beside the program: nine lines and an empty one, Shift_JIS,
// CR LF, laid out with FormatField.

#include <QString>
#include <optional>
#include <vector>

#include "persistence/notice.h"
#include "persistence/settings.h"

QString ConfigFilePath(const QString& programFolder);

// The whole file text for `settings` (nine lines, each with CR LF, then one
// more CR LF), before encoding.
QString ConfigFileText(const Settings& settings);

// The settings a file text holds, or nothing when a field is missing or does
// not convert. Line 6 keeps a log folder that holds commas whole.
std::optional<Settings> ParseConfigFileText(const QString& text);

// Mode "READ" (and INIT + SAVE when the file is missing or unreadable),
// "INIT" (INIT + SAVE) or "SAVE"; any other text does nothing. Returns the
// message to show, if any (at most one per call). The file is replaced
// atomically; an unreadable file is kept beside it as TmConfig.ini.bad
// before the defaults take its place (and is left alone, the defaults used in
// memory only, when that copy cannot be made). Settings that Shift_JIS cannot
// spell are not saved (the save message instead).
std::optional<Notice> ConfigFile(const QString& mode, Settings& settings, const QString& programFolder);

// The same, with every message to show in order: after the unreadable-file
// message, the save message when the defaults could not be written (a
// read-only file or folder, or a file kept as it was).
std::vector<Notice> ConfigFileNotices(const QString& mode, Settings& settings, const QString& programFolder);

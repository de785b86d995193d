#pragma once
// TmConfig.ini beside the program: nine lines and an empty one, Shift_JIS,
// CR LF, laid out with FormatField.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "persistence/notice.h"
#include "persistence/settings.h"

QString ConfigFilePath(const QString& programFolder);

// The whole file text for `settings` (nine lines, each with CR LF, then one
// more CR LF), before encoding.
QString ConfigFileText(const Settings& settings);

// The settings a file text holds, or nothing when a field of the nine
// classic lines is missing or does not convert. Line 6 keeps a log folder
// that holds commas whole. Values read whole that cannot be used are
// damaged: a log folder or file name with bytes that are not Shift_JIS or
// control characters, a file name that is not one plain name
// (FileNameUsable); each gets its default (the folder "."), and `damaged`,
// when given, tells whether there was one. An added line whose value does
// not convert or is out of its range takes that line's default alone, its
// label going to `defaulted`. Coordinates are brought within +-16777215,
// beyond any screen.
std::optional<Settings> ParseConfigFileText(const QString& text, bool* damaged = nullptr,
                                            QStringList* defaulted = nullptr);

// Mode "READ" (and INIT + SAVE when the file is missing or unreadable),
// "INIT" (INIT + SAVE) or "SAVE"; any other text does nothing. Returns the
// message to show, if any (at most one per call). The file is replaced
// atomically; an unreadable file is kept beside it as TmConfig.ini.bad
// before the defaults take its place (and is left alone, the defaults used in
// memory only, when that copy cannot be made). Damaged values go the same
// way, with only their own values at the defaults. Settings that Shift_JIS
// cannot spell are not saved, nor is anything written through a link to
// something that is not a plain file, and a save counts only when the file
// then holds what was written (the save message otherwise).
std::optional<Notice> ConfigFile(const QString& mode, Settings& settings, const QString& programFolder);

// The same, with every message to show in order: after the unreadable-file
// message, the save message when the defaults could not be written (a
// read-only file or folder, or a file kept as it was).
std::vector<Notice> ConfigFileNotices(const QString& mode, Settings& settings, const QString& programFolder);

// The display language the file holds, read before any window exists (the
// windows are built in it); Automatic when the file is missing, unreadable or
// not a plain file. Reads only: the start-up read tells about a damaged file.
DisplayLanguage StoredDisplayLanguage(const QString& programFolder);

// The recent memos changed (a measurement ended): only their lines of the
// file are replaced; every other setting stays as the file has it, so
// changes the player has not saved in the options dialog are not saved
// by this. False when the file is missing, damaged or cannot be written:
// the memos then wait for the next save.
bool SaveRecentMemos(const QString& programFolder, const QStringList& memos);

// The places of the windows (the main window's and the compact view's) of
// `current` go into the file as it stands, with every other value as the
// file has it: closing the program must not save what the options dialog
// was not asked to. A file that does not read cleanly is left alone. True
// when the file holds those places afterwards.
bool SaveWindowPlaces(const Settings& current, const QString& programFolder);

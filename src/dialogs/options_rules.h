#pragma once
// The rules behind the options dialog's fields, apart from its window: the
// numeric settings with their prompts and limits, and what the save folder
// and file name fields may store.

#include <QString>
#include <cstdint>
#include <optional>

#include "monitoring/lag.h"
#include "persistence/settings.h"

enum class NumericSetting { StartX, StartY, SizeX, SizeY, Interval, Lag };

// What the numeric input dialog is opened with for a setting; limits and
// step are passed to it as text.
struct NumericSettingInfo {
  QString prompt;
  QString min;
  QString max;
  QString step;
};
NumericSettingInfo InfoOf(NumericSetting setting);

// The settings field a numeric setting edits; `area` (0 or 1) matters only
// for the four capture-region values.
std::int32_t& FieldOf(Settings& settings, NumericSetting setting, int area);

// The value to store for what the numeric dialog returned: the nearest
// 32-bit integer (halves to even), or nothing when it was cancelled.
std::optional<std::int32_t> ValueToStore(double result);

// The save folder that a typed text leads to. A text of more than two
// characters that names no existing file or folder is invalid: the program folder is
// taken instead (and the user told). Either way the result is the nearest
// usable folder.
struct FolderChoice {
  QString folder;
  bool invalid = false;
};
FolderChoice ChooseSaveFolder(const QString& typed, const QString& programFolder);

// Texts the configuration file could not give back as they were: a line
// break in either (each setting is one line), a comma in the file name (the
// folder and the file share one comma-separated line), a file name that is
// not one plain name (FileNameUsable: the file name is a name, not a path,
// and the reader refuses the same), or a character that the file's
// Shift_JIS cannot hold.
// A folder Shift_JIS cannot spell is storable when its path from the program
// folder can be spelled (the file then holds that relative form).
bool SaveFolderStorable(const QString& folder, const QString& programFolder);
bool SaveFileStorable(const QString& file);

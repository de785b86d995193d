#pragma once
// Settings added after the nine classic lines of TmConfig.ini. Each one is a
// line of its own after line 9 ("value , label"), found by its label: a file
// written before the setting existed simply lacks the line and reads with
// the default, and older readers, which stop after line 9, never see it.
// To add a setting: a field with its default in Settings and one row here.
// The recent memos (free text, up to five) come after the table's lines.

#include <QString>
#include <cstdint>
#include <span>
#include <variant>

#include "persistence/settings.h"

struct SettingLine {
  const char16_t* label;  // the text after the value's comma, without the blank
  std::variant<bool Settings::*, std::int32_t Settings::*, DisplayLanguage Settings::*> field;
  // The numbers the program can have written; null: any (a place, brought
  // onto a screen after reading).
  bool (*usable)(std::int32_t) = nullptr;
};

std::span<const SettingLine> AddedSettingLines();

// The lines for `settings`, each without its line end, in table order.
QStringList AddedSettingLinesText(const Settings& settings);

// Sets the fields of every known line in `lines`; a line whose label is
// unknown (a newer program's) is passed over. A known line whose value does
// not convert or is out of its range sets its field to the line's default,
// every other line being kept: the labels of those lines are returned, for
// the player to be told once before the file is saved over.
QStringList ReadAddedSettingLines(const QStringList& lines, Settings& settings);

#pragma once
// The experience table files: the one delivered in system/ (levels 200 and
// above) and the player's own beside the program, whose lines override or
// extend the delivered ones (another region's game, a game update).
//
// Shift_JIS text, one "level , experience to the next level" line each
// (blanks around either number allowed); lines beginning with ";" or "#"
// and empty lines are notes. Levels 1 … 300, each at most once; the
// experience a whole number from 1 up. A file is used whole or not at all.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "accounting/exp_table.h"
#include "persistence/notice.h"

inline const QString kExpTableFileName = QStringLiteral("ExpTable.txt");

// Far more than any table needs; a larger file is not a table.
inline constexpr qint64 kExpTableFileLimit = 256 * 1024;

struct LevelSizeLine {
  std::int32_t level = 0;
  std::int64_t size = 0;
  friend bool operator==(const LevelSizeLine&, const LevelSizeLine&) = default;
};

// The lines of a table file's text, or what is wrong with it ("12行目: …").
std::variant<std::vector<LevelSizeLine>, QString> ParseExpTableText(const QString& text);

// The lines of the file at `path`, or what is wrong with it. Something that
// is not a plain file (a folder, a pipe) is never opened, and a file beyond
// kExpTableFileLimit never read whole.
std::variant<std::vector<LevelSizeLine>, QString> ReadExpTableFile(const QString& path);

struct LoadedExpTable {
  std::shared_ptr<const ExpTable> table;
  std::vector<Notice> notices;  // one for each file that could not be used
  QStringList traceLines;       // what was read from where
};

// The compiled table, then programFolder/system/ExpTable.txt over it, then
// programFolder/ExpTable.txt over that. A file that cannot be used (damaged,
// unreadable, or making the sizes fall from one level to the next) is left
// out whole and told about once; the table goes on without it.
LoadedExpTable LoadExpTable(const QString& programFolder);

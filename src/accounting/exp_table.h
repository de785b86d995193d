#pragma once
// The experience table: how much experience each level alone requires (its
// size), and from that the total since level 1 and the gain between two
// readings. The only place that answers these questions.
//
// Levels 1 … 199 are compiled in, as the classic table has always had them.
// Above them the game has grown to level 300 and revised its sizes more than
// once, so those come from table files read at start (exp_table_file.h); a
// level whose size no file gave is unknown, never guessed.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

inline constexpr std::int32_t kTopLevel = 300;       // the game's cap
inline constexpr std::int32_t kCompiledTopLevel = 199;  // the last level compiled in

// A size any table may hold: totals up to level 300 stay exact in a double
// (every whole number up to 2^53 is).
inline constexpr std::int64_t kLargestLevelSize = (std::int64_t{1} << 53) - 1;

class ExpTable {
 public:
  // The compiled levels 1 … 199 and nothing above.
  ExpTable();

  // Sets the size of `level` (1 … kTopLevel, size 1 … kLargestLevelSize);
  // anything else is ignored.
  void SetSize(std::int32_t level, std::int64_t size);

  // Experience `level` alone requires; nothing where the table has no size.
  std::optional<std::int64_t> Size(std::int32_t level) const;

  // Experience from the start of level 1 to `exp` into `level`; needs the
  // size of every level below it.
  std::optional<double> Total(std::int32_t level, double exp) const;

  // Experience gained from one reading to another. Within one level no
  // table is needed: the difference of the counters. Across level-ups it
  // needs the size of every level finished on the way; nothing otherwise.
  std::optional<double> Gain(std::int32_t fromLevel, double fromExp, std::int32_t toLevel, double toExp) const;

  // The first level whose size is below that of the known level before it;
  // nothing while the sizes rise (or stay) throughout. A table that falls
  // was mistyped or belongs to no game.
  std::optional<std::int32_t> FirstFall() const;

  friend bool operator==(const ExpTable&, const ExpTable&) = default;

 private:
  // Sum of the sizes of levels `from` … `to` − 1; nothing when one is unknown.
  std::optional<double> SizesBetween(std::int32_t from, std::int32_t to) const;

  std::array<std::int64_t, kTopLevel + 1> sizes_{};  // by level; 0: unknown
};

// The compiled table, shared: what a part uses until it is given the table
// read at start.
std::shared_ptr<const ExpTable> CompiledExpTable();

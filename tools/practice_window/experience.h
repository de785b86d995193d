#pragma once
// The practice character's progress: a level and the experience within it,
// levelling up by the experience table.

#include <cstdint>

#include "accounting/exp_table.h"

struct Progress {
  std::int32_t level = 1;
  std::int64_t exp = 0;
  friend bool operator==(const Progress&, const Progress&) = default;
};

// Experience level `level` alone requires; 0 where the table has no size.
std::int64_t LevelRequirement(const ExpTable& table, std::int32_t level);

// Adds `gain` and carries full levels over. At a level the table has no
// size for (the cap among them) the counter goes on rising: there is no
// level-up without a size. A level outside 1 … kTopLevel is brought into it.
Progress AddExperience(const ExpTable& table, Progress progress, std::int64_t gain);

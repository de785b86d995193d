#pragma once
// The practice character's progress: a level and the experience within it,
// levelling up by the game's experience table.

#include <cstdint>

struct Progress {
  std::int32_t level = 1;
  std::int64_t exp = 0;
  friend bool operator==(const Progress&, const Progress&) = default;
};

inline constexpr std::int32_t kTopLevel = 199;  // the last level the table can count

// Experience level `level` alone requires (1 … kTopLevel); 0 outside.
std::int64_t LevelRequirement(std::int32_t level);

// Adds `gain` and carries full levels over. At the top level the counter stops
// one short of the requirement. A level outside the table is brought into it.
Progress AddExperience(Progress progress, std::int64_t gain);

#include "experience.h"

#include <algorithm>

std::int64_t LevelRequirement(const ExpTable& table, std::int32_t level) { return table.Size(level).value_or(0); }

Progress AddExperience(const ExpTable& table, Progress progress, std::int64_t gain) {
  progress.level = std::clamp(progress.level, 1, kTopLevel);
  // Far beyond any table, and no sum of two of them overflows.
  constexpr std::int64_t kMost = std::int64_t{1} << 61;
  progress.exp = std::clamp<std::int64_t>(progress.exp, 0, kMost) + std::clamp<std::int64_t>(gain, 0, kMost);
  for (std::int64_t need = LevelRequirement(table, progress.level);
       progress.level < kTopLevel && need > 0 && progress.exp >= need; need = LevelRequirement(table, progress.level)) {
    progress.exp -= need;
    ++progress.level;
  }
  return progress;
}

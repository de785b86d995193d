#include "experience.h"

#include <algorithm>

#include "accounting/exp_table.h"

std::int64_t LevelRequirement(std::int32_t level) {
  if (level < 1 || level > kTopLevel) return 0;
  const auto& table = BuildExpTable();
  const auto& upper = table[static_cast<std::size_t>(level)];
  const auto& lower = table[static_cast<std::size_t>(level - 1)];
  if (!upper || !lower) return 0;
  return *upper - *lower;
}

Progress AddExperience(Progress progress, std::int64_t gain) {
  progress.level = std::clamp(progress.level, 1, kTopLevel);
  progress.exp = std::max<std::int64_t>(progress.exp, 0) + std::max<std::int64_t>(gain, 0);
  while (progress.level < kTopLevel && progress.exp >= LevelRequirement(progress.level)) {
    progress.exp -= LevelRequirement(progress.level);
    ++progress.level;
  }
  if (progress.level == kTopLevel) progress.exp = std::min(progress.exp, LevelRequirement(kTopLevel) - 1);
  return progress;
}

#pragma once
// How far a level may move between two readings of one character: up by 0
// to kMaxLevelRise (levelling up between captures). A larger rise, or any
// fall, is a misread or another character. Evaluation, the misread guard and
// the live session all go by this one rule.

#include <cstdint>

inline constexpr std::int32_t kMaxLevelRise = 3;

constexpr bool LevelCanFollow(std::int64_t from, std::int64_t to) {
  const std::int64_t rise = to - from;
  return rise >= 0 && rise <= kMaxLevelRise;
}

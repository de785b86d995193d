#include "recognition/match_rule.h"

#include <algorithm>

#include "recognition/recognition.h"

int NeededCount(int width, int height) {
  const int total = 3 * width * height;
  // The score grows with the count; start just below the proportional
  // estimate and step up, so the integer formula itself decides.
  int count = std::max(0, static_cast<int>(static_cast<long long>(total) * kMatchThreshold / 10000) - 2);
  while (count <= total && ScoreFromCount(count, width, height) <= kMatchThreshold) ++count;
  return count;
}

bool GridConsistent(const PixelGrid& grid) {
  return grid.width >= 0 && grid.height >= 0 &&
         grid.pixels.size() == static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height);
}

bool PatternUsable(const Pattern& pattern, const PixelGrid& capture) {
  return GridConsistent(capture) && UsablePattern(pattern) && pattern.width <= capture.width &&
         pattern.height <= capture.height;
}

int LastScanColumn(int regionWidth, const PixelGrid& capture) {
  // In 64 bits: a region width near the 32-bit minimum must not wrap.
  if (!GridConsistent(capture)) return -1;
  const long long last = std::min<long long>(regionWidth, capture.width) - 4;
  return static_cast<int>(std::max(last, -1LL));
}

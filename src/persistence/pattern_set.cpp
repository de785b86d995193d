#include "persistence/pattern_set.h"

#include <algorithm>
#include <map>
#include <tuple>

Pattern HalfPixelLook(const Pattern& pattern) {
  Pattern look;
  if (!UsablePattern(pattern) || !WithinLargestPattern(pattern.width + 1, pattern.height)) return look;
  std::map<std::tuple<int, int, int>, int> counts;
  PixelColor background;
  int most = 0;
  for (int x = 0; x < pattern.width; ++x) {
    for (const int y : {0, pattern.height - 1}) {
      const PixelColor c = pattern.pixels[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
      const int n = ++counts[{c.red, c.green, c.blue}];
      if (n > most) {
        most = n;
        background = c;
      }
    }
  }
  const auto mean = [](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>((a + b + 1) / 2); };
  look.width = pattern.width + 1;
  look.height = pattern.height;
  for (int x = 0; x < look.width; ++x) {
    for (int y = 0; y < look.height; ++y) {
      const auto row = static_cast<std::size_t>(y);
      const PixelColor left = x > 0 ? pattern.pixels[static_cast<std::size_t>(x - 1)][row] : background;
      const PixelColor right = x < pattern.width ? pattern.pixels[static_cast<std::size_t>(x)][row] : background;
      look.pixels[static_cast<std::size_t>(x)][row] = {mean(left.blue, right.blue), mean(left.green, right.green),
                                                       mean(left.red, right.red)};
    }
  }
  return look;
}

AreaOrigins OriginsOf(const PatternImages& images, int area) {
  AreaOrigins origins{};
  for (int i = 0; i < kSlotsPerArea; ++i) {
    origins[static_cast<std::size_t>(i)] = images.origins[static_cast<std::size_t>(SlotOf(area, i))];
  }
  return origins;
}

void StoreOrigins(PatternImages& images, int area, const AreaOrigins& origins) {
  for (int i = 0; i < kSlotsPerArea; ++i) {
    images.origins[static_cast<std::size_t>(SlotOf(area, i))] = origins[static_cast<std::size_t>(i)];
  }
}

bool TaughtFromCaptures(const AreaOrigins& origins) {
  return std::find(origins.begin(), origins.end(), PatternOrigin::Captured) != origins.end();
}

bool TakesPart(const AreaOrigins& origins, int index) {
  return origins[static_cast<std::size_t>(index)] != PatternOrigin::Delivered || !TaughtFromCaptures(origins);
}

#include "capture/pattern_matcher.h"

#include <algorithm>
#include <cstdlib>

#include "capture/match_rule.h"

namespace {

// Lane layout of a spread pixel: blue in bits 0–15, green 16–31, red 32–47.
constexpr std::uint64_t kLaneTops = 0x0000'8000'8000'8000ULL;

std::uint64_t Spread(std::uint32_t pixel) {
  return (pixel & 0xFFu) | ((pixel & 0xFF00u) << 8) | (static_cast<std::uint64_t>(pixel & 0xFF0000u) << 16);
}

std::uint64_t SpreadColor(int blue, int green, int red) {
  return static_cast<std::uint64_t>(blue) | (static_cast<std::uint64_t>(green) << 16) |
         (static_cast<std::uint64_t>(red) << 32);
}

// Agreeing channels of one pixel, 0 … 3. A lane of (value | top) − low keeps
// its top bit exactly when value ≥ low, and (high | top) − value when
// value ≤ high; lanes never borrow from each other, since every lane value
// is at most 255 under a top bit of 0x8000.
int AgreeingChannels(const PreparedPixel& p, std::uint64_t value) {
  const std::uint64_t inRange = ((value | kLaneTops) - p.low) & (p.highMarked - value) & kLaneTops;
  // Move the three lane tops to bits 0, 16, 32 and add them up in bits 32–33.
  return static_cast<int>((((inRange >> 15) * 0x0000'0001'0001'0001ULL) >> 32) & 3u);
}

bool InModel(const Pattern& p) {
  return p.width >= 1 && p.height >= 1 && p.width <= kPatternCapacity && p.height <= kPatternCapacity;
}

std::uint32_t Packed(const PixelColor& c) {
  return static_cast<std::uint32_t>(c.blue) | (static_cast<std::uint32_t>(c.green) << 8) |
         (static_cast<std::uint32_t>(c.red) << 16);
}

bool Differs(const PixelColor& a, const PixelColor& b) {
  return std::abs(a.blue - b.blue) > kChannelTolerance || std::abs(a.green - b.green) > kChannelTolerance ||
         std::abs(a.red - b.red) > kChannelTolerance;
}

// The pattern's most frequent colour: what surrounds its drawing.
PixelColor Background(const Pattern& p) {
  std::vector<std::uint32_t> colors;
  colors.reserve(static_cast<std::size_t>(p.width * p.height));
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) colors.push_back(Packed(p.pixels[x][y]));
  }
  std::sort(colors.begin(), colors.end());
  std::uint32_t best = colors.front();
  std::size_t bestRun = 0;
  for (std::size_t i = 0; i < colors.size();) {
    std::size_t j = i;
    while (j < colors.size() && colors[j] == colors[i]) ++j;
    if (j - i > bestRun) {
      bestRun = j - i;
      best = colors[i];
    }
    i = j;
  }
  return {static_cast<std::uint8_t>(best), static_cast<std::uint8_t>(best >> 8),
          static_cast<std::uint8_t>(best >> 16)};
}

using InkCounts = std::array<std::array<int, kPatternCapacity>, kPatternCapacity>;

PreparedPattern Prepare(const Pattern& p, const PixelColor& background, const InkCounts& inkCounts,
                        int columnHeight) {
  PreparedPattern prepared;
  prepared.width = p.width;
  prepared.height = p.height;
  if (!InModel(p)) return prepared;
  prepared.needed = NeededCount(p.width, p.height);
  prepared.allowedMisses = 3 * p.width * p.height - prepared.needed;

  struct Ranked {
    int rank;
    PreparedPixel pixel;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(static_cast<std::size_t>(p.width * p.height));
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      const PixelColor& c = p.pixels[x][y];
      const auto low = [](int v) { return std::max(0, v - kChannelTolerance); };
      const auto high = [](int v) { return std::min(255, v + kChannelTolerance); };
      PreparedPixel pixel;
      pixel.offset = static_cast<std::uint32_t>(x * columnHeight + y);
      pixel.low = SpreadColor(low(c.blue), low(c.green), low(c.red));
      pixel.highMarked = SpreadColor(high(c.blue), high(c.green), high(c.red)) | kLaneTops;
      // The drawing first, the strokes few other patterns share before the
      // common ones; then background where many others draw.
      const int others = inkCounts[x][y];
      const int rank = Differs(c, background) ? 100 + (11 - others) : others;
      ranked.push_back({rank, pixel});
    }
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) { return a.rank > b.rank; });
  prepared.pixels.reserve(ranked.size());
  for (const Ranked& r : ranked) prepared.pixels.push_back(r.pixel);
  return prepared;
}

PreparedArea PrepareArea(const PatternSet& set, int area) {
  std::array<const Pattern*, 11> sources{};
  for (int d = 0; d < 10; ++d) sources[static_cast<std::size_t>(d)] = &set.digitPatterns[static_cast<std::size_t>(area * 10 + d)];
  sources[10] = &set.delimiterPatterns[static_cast<std::size_t>(area)];

  PreparedArea prepared;
  prepared.cellWidth = set.cellWidth[static_cast<std::size_t>(area)];
  std::array<PixelColor, 11> backgrounds{};
  InkCounts inkCounts{};
  for (std::size_t k = 0; k < sources.size(); ++k) {
    const Pattern& p = *sources[k];
    if (!InModel(p)) continue;
    prepared.columnHeight = std::max(prepared.columnHeight, p.height);
    prepared.columnSpan = std::max(prepared.columnSpan, p.width);
    backgrounds[k] = Background(p);
    for (int x = 0; x < p.width; ++x) {
      for (int y = 0; y < p.height; ++y) inkCounts[x][y] += Differs(p.pixels[x][y], backgrounds[k]) ? 1 : 0;
    }
  }
  for (std::size_t k = 0; k < sources.size(); ++k) {
    prepared.patterns[k] = Prepare(*sources[k], backgrounds[k], inkCounts, prepared.columnHeight);
  }
  return prepared;
}

}  // namespace

PatternMatcher::PatternMatcher(const PatternSet& set) : areas_{PrepareArea(set, 0), PrepareArea(set, 1)} {}

SpreadCapture::SpreadCapture(const PixelGrid& capture, int columns, int columnHeight)
    : height_(columnHeight), values_(static_cast<std::size_t>(columns) * columnHeight, 0) {
  const int width = std::min(columns, capture.width);
  const int height = std::min(columnHeight, capture.height);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = capture.pixels.data() + static_cast<std::size_t>(y) * capture.width;
    for (int x = 0; x < width; ++x) values_[static_cast<std::size_t>(x) * columnHeight + y] = Spread(row[x]);
  }
}

bool Passes(const PreparedPattern& pattern, const std::uint64_t* column) {
  int misses = 0;
  int agreeing = 0;
  for (const PreparedPixel& p : pattern.pixels) {
    const int n = AgreeingChannels(p, column[p.offset]);
    agreeing += n;
    misses += 3 - n;
    if (misses > pattern.allowedMisses) return false;
    if (agreeing >= pattern.needed) return true;
  }
  return false;
}

int FullScore(const PreparedPattern& pattern, const std::uint64_t* column) {
  int agreeing = 0;
  for (const PreparedPixel& p : pattern.pixels) agreeing += AgreeingChannels(p, column[p.offset]);
  return ScoreFromCount(agreeing, pattern.width, pattern.height);
}

bool Usable(const PreparedPattern& pattern, const PixelGrid& capture) {
  return pattern.allowedMisses >= 0 && pattern.width <= capture.width && pattern.height <= capture.height;
}

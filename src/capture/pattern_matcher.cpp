#include "capture/pattern_matcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "capture/match_rule.h"

namespace {

constexpr int kProbeGroups = 2;

bool InModel(const Pattern& p) {
  return p.width >= 1 && p.height >= 1 && p.width <= kPatternCapacity && p.height <= kPatternCapacity;
}

int ChannelsApart(const PixelColor& a, const PixelColor& b) {
  return (std::abs(a.blue - b.blue) > kChannelTolerance ? 1 : 0) + (std::abs(a.green - b.green) > kChannelTolerance ? 1 : 0) +
         (std::abs(a.red - b.red) > kChannelTolerance ? 1 : 0);
}

bool Same(const PixelColor& a, const PixelColor& b) {
  return a.blue == b.blue && a.green == b.green && a.red == b.red;
}

// What surrounds the drawing: the colour most of the four corners share.
PixelColor Background(const Pattern& p) {
  const std::array<PixelColor, 4> corners{p.pixels[0][0], p.pixels[p.width - 1][0], p.pixels[0][p.height - 1],
                                          p.pixels[p.width - 1][p.height - 1]};
  PixelColor best = corners[0];
  int bestVotes = 0;
  for (const PixelColor& c : corners) {
    const int votes = static_cast<int>(std::count_if(corners.begin(), corners.end(), [&](const PixelColor& o) { return Same(c, o); }));
    if (votes > bestVotes) {
      best = c;
      bestVotes = votes;
    }
  }
  return best;
}

// The lowest and highest value within tolerance of each byte value.
constexpr auto kLowest = [] {
  std::array<std::uint8_t, 256> t{};
  for (int v = 0; v < 256; ++v) t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::max(0, v - kChannelTolerance));
  return t;
}();
constexpr auto kHighest = [] {
  std::array<std::uint8_t, 256> t{};
  for (int v = 0; v < 256; ++v) t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::min(255, v + kChannelTolerance));
  return t;
}();

// The four byte ranges of one pattern pixel; the fourth byte always agrees.
void SetRanges(ByteRanges& r, int pixel, const PixelColor& c) {
  const std::uint8_t low[4] = {kLowest[c.blue], kLowest[c.green], kLowest[c.red], 0};
  const std::uint8_t high[4] = {kHighest[c.blue], kHighest[c.green], kHighest[c.red], 255};
  std::memcpy(r.low + pixel * 4, low, 4);
  std::memcpy(r.high + pixel * 4, high, 4);
}

// A group slot that always agrees, whatever it reads.
void SetAnything(ByteRanges& r, int pixel) {
  std::memset(r.low + pixel * 4, 0, 4);
  std::memset(r.high + pixel * 4, 255, 4);
}

using InkCounts = std::array<std::array<int, kPatternCapacity>, kPatternCapacity>;
// Channels apart from the pattern's background, per pixel [x][y].
using Apart = std::array<std::array<std::uint8_t, kPatternCapacity>, kPatternCapacity>;

// The 4 * kProbeGroups most telling pixels, best first: the drawing first,
// by the misses it costs a capture that shows background or another pattern
// there (channels apart from the background, times how few of the area's
// patterns draw there too); then background where many others draw. Ties
// go to the earlier pixel. Chosen by counting ranks rather than sorting:
// the preparation runs once per call when the caller keeps no matcher.
std::vector<ProbeGroup> Probes(const Pattern& p, const Apart& apart, const InkCounts& inkCounts) {
  constexpr int kWanted = 4 * kProbeGroups;
  constexpr int kRanks = 100 + 3 * 12 + 1;
  std::array<std::array<std::uint8_t, kPatternCapacity>, kPatternCapacity> ranks;  // written before read
  std::array<int, kRanks> counts{};
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      const int others = inkCounts[x][y];
      const int a = apart[x][y];
      const int rank = a > 0 ? 100 + a * (12 - others) : others;
      ranks[x][y] = static_cast<std::uint8_t>(rank);
      ++counts[static_cast<std::size_t>(rank)];
    }
  }
  // The lowest rank that still makes the cut, and how many of it fit.
  int threshold = kRanks - 1;
  int above = 0;
  while (threshold > 0 && above + counts[static_cast<std::size_t>(threshold)] < kWanted) {
    above += counts[static_cast<std::size_t>(threshold)];
    --threshold;
  }
  int atThreshold = kWanted - above;

  struct Ranked {
    int rank;
    int x;
    int y;
  };
  std::array<Ranked, kWanted> best{};
  int found = 0;
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      const int rank = ranks[x][y];
      if (rank < threshold || (rank == threshold && atThreshold-- <= 0)) continue;
      // Insertion keeps the earlier of equal ranks first.
      int at = found++;
      for (; at > 0 && best[static_cast<std::size_t>(at - 1)].rank < rank; --at) {
        best[static_cast<std::size_t>(at)] = best[static_cast<std::size_t>(at - 1)];
      }
      best[static_cast<std::size_t>(at)] = {rank, x, y};
    }
  }

  std::vector<ProbeGroup> groups(static_cast<std::size_t>((found + 3) / 4));
  for (int i = 0; i < static_cast<int>(groups.size()) * 4; ++i) {
    ProbeGroup& g = groups[static_cast<std::size_t>(i / 4)];
    const int slot = i % 4;
    if (i < found) {
      const Ranked& r = best[static_cast<std::size_t>(i)];
      g.x[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(r.x);
      g.y[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(r.y);
      SetRanges(g.ranges, slot, p.pixels[r.x][r.y]);
    } else {
      SetAnything(g.ranges, slot);  // reads pixel (0, 0), which always exists
    }
  }
  return groups;
}

PreparedPattern Prepare(const Pattern& p, const Apart& apart, const InkCounts& inkCounts) {
  PreparedPattern prepared;
  prepared.width = p.width;
  prepared.height = p.height;
  if (!InModel(p)) return prepared;
  prepared.needed = NeededCount(p.width, p.height);
  prepared.allowedMisses = 3 * p.width * p.height - prepared.needed;
  prepared.groupsPerRow = (p.width + 3) / 4;
  prepared.rowPadding = 16 * prepared.groupsPerRow - 3 * p.width;
  const auto groups = static_cast<std::size_t>(prepared.groupsPerRow);
  prepared.rows.resize(static_cast<std::size_t>(p.height) * groups);
  for (int y = 0; y < p.height; ++y) {
    ByteRanges* row = &prepared.rows[static_cast<std::size_t>(y) * groups];
    for (int x = 0; x < p.width; ++x) SetRanges(row[x / 4], x % 4, p.pixels[x][y]);
    for (int x = p.width; x < 4 * prepared.groupsPerRow; ++x) SetAnything(row[x / 4], x % 4);
  }
  prepared.probes = Probes(p, apart, inkCounts);
  return prepared;
}

PreparedArea PrepareArea(const PatternSet& set, int area) {
  std::array<const Pattern*, 11> sources{};
  for (std::size_t d = 0; d < 10; ++d) sources[d] = &set.digitPatterns[static_cast<std::size_t>(area) * 10 + d];
  sources[10] = &set.delimiterPatterns[static_cast<std::size_t>(area)];

  PreparedArea prepared;
  prepared.cellWidth = set.cellWidth[static_cast<std::size_t>(area)];
  std::array<Apart, 11> apart;  // written before read, for the patterns in use
  InkCounts inkCounts{};
  for (std::size_t k = 0; k < sources.size(); ++k) {
    const Pattern& p = *sources[k];
    if (!InModel(p)) continue;
    prepared.reach = std::max(prepared.reach, 4 * ((p.width + 3) / 4));
    const PixelColor background = Background(p);
    for (int x = 0; x < p.width; ++x) {
      for (int y = 0; y < p.height; ++y) {
        const int a = ChannelsApart(p.pixels[x][y], background);
        apart[k][x][y] = static_cast<std::uint8_t>(a);
        inkCounts[x][y] += a > 0 ? 1 : 0;
      }
    }
  }
  for (std::size_t k = 0; k < sources.size(); ++k) prepared.patterns[k] = Prepare(*sources[k], apart[k], inkCounts);
  return prepared;
}

}  // namespace

PatternMatcher::PatternMatcher(const PatternSet& set) : areas_{PrepareArea(set, 0), PrepareArea(set, 1)} {}

// NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init): tail_ is written where it is read
FrameSource::FrameSource(const PixelGrid& capture, int reach)
    : capture_(capture),
      reach_(std::clamp(reach, 0, kMaxReach)),
      tailStart_(std::max(0, capture.width - reach_)),
      tailStride_(capture.width - tailStart_ + reach_) {
  // Only the rows a pattern can cover; columns past the picture are black.
  const int rows = std::clamp(capture.height, 0, kPatternCapacity);
  const int kept = capture.width - tailStart_;
  for (int y = 0; y < rows; ++y) {
    std::uint32_t* row = tail_.data() + static_cast<std::ptrdiff_t>(y) * tailStride_;
    std::copy_n(capture.pixels.data() + static_cast<std::ptrdiff_t>(y) * capture.width + tailStart_, kept, row);
    std::fill_n(row + kept, reach_, 0u);
  }
}



#include "recognition/pattern_matcher.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "recognition/match_rule.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

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

// A group slot that always agrees, whatever it reads.
void SetAnything(ByteRanges& r, int pixel) {
  std::memset(r.low + pixel * 4, 0, 4);
  std::memset(r.span + pixel * 4, 255, 4);
}

// What a probe pixel is chosen against, one byte lane each: the captures a
// pattern is likely to be compared with. Lanes 0 … 10 show the area's
// patterns (digits, then the delimiter), lane 11 blank background, lanes
// 12 … 22 the patterns one column to the right: what a scan sees one
// column before a digit, as it does after each digit when the digits stand
// a whole cell apart. Lane 23 is a second view of blank background, taken
// row by row from the patterns' edges; a probe pixel counts against blank
// background only when it is apart from both views (lane 11 alone is the
// view in play). The rest are unused.
constexpr int kLanes = 32;
constexpr std::size_t kBlankLane = 11;
constexpr std::size_t kShiftedLanes = 12;
constexpr std::size_t kEdgeBlankLane = 23;
// Most columns a scan tries show blank background (all of them on a blank
// capture), so its rejection weighs more in the choice of probes.
constexpr int kBlankWeight = 16;

using Lanes = std::array<std::uint8_t, kLanes>;

// A capture's channel lies up to this far from what the lane shows: the
// lanes come from the patterns, themselves cut from a screen grab, so the
// noise of two grabs (up to 8 each way in each) lies between them. A probe
// pixel only counts against a lane when it stays apart from it even so.
constexpr int kProbeMargin = 16;

// The colours every lane shows at one pixel of the area.
struct LaneColors {
  Lanes blue{};
  Lanes green{};
  Lanes red{};
};

#if defined(__SSE2__)

// Ranges within 20 of each byte of `values` (saturating at 0 and 255, as
// the rule's absolute difference clips them), for the bytes `used` marks
// with 0xFF; the others always agree.
void SetWithin(ByteRanges& r, const std::uint8_t (&values)[16], const std::uint8_t (&used)[16]) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
  const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(used));
  const __m128i tolerance = _mm_set1_epi8(kChannelTolerance);
  const __m128i low = _mm_subs_epu8(v, tolerance);
  const __m128i span = _mm_sub_epi8(_mm_adds_epu8(v, tolerance), low);
  _mm_store_si128(reinterpret_cast<__m128i*>(r.low), _mm_and_si128(low, mask));
  _mm_store_si128(reinterpret_cast<__m128i*>(r.span), _mm_or_si128(span, _mm_andnot_si128(mask, _mm_set1_epi8(-1))));
}

#else

void SetWithin(ByteRanges& r, const std::uint8_t (&values)[16], const std::uint8_t (&used)[16]) {
  for (int i = 0; i < 16; ++i) {
    const int low = std::max(0, values[i] - kChannelTolerance);
    const int high = std::min(255, values[i] + kChannelTolerance);
    r.low[i] = used[i] != 0 ? static_cast<std::uint8_t>(low) : 0;
    r.span[i] = used[i] != 0 ? static_cast<std::uint8_t>(high - low) : 255;
  }
}

#endif

// Plain loops over the lanes: the compiler vectorises them.
std::uint8_t ApartByte(std::uint8_t a, std::uint8_t b) {
  return (a > b ? a - b : b - a) > kChannelTolerance + kProbeMargin ? 1 : 0;
}

// Channel bytes that disagree with colour `c`, per lane; lanes not in play
// count none.
Lanes MissesAgainst(const LaneColors& lanes, const PixelColor& c, const Lanes& inPlay) {
  Lanes m;
  for (std::size_t j = 0; j < kLanes; ++j) {
    m[j] = static_cast<std::uint8_t>(inPlay[j] & (ApartByte(lanes.blue[j], c.blue) + ApartByte(lanes.green[j], c.green) +
                                                  ApartByte(lanes.red[j], c.red)));
  }
  // Blank background: a channel misses only when it is apart from both views.
  const auto both = [&](const Lanes& channel, std::uint8_t v) {
    return ApartByte(channel[kBlankLane], v) & ApartByte(channel[kEdgeBlankLane], v);
  };
  m[kBlankLane] = static_cast<std::uint8_t>(inPlay[kBlankLane] & (both(lanes.blue, c.blue) + both(lanes.green, c.green) +
                                                                  both(lanes.red, c.red)));
  return m;
}

// Whether any lane still needs misses.
bool AnyLeft(const Lanes& need) {
  std::uint8_t any = 0;
  for (const std::uint8_t n : need) any |= n;
  return any != 0;
}

// The need left once a pixel's misses are counted.
void Reduce(Lanes& need, const Lanes& misses) {
  for (std::size_t j = 0; j < kLanes; ++j) need[j] = static_cast<std::uint8_t>(need[j] - std::min(need[j], misses[j]));
}

// How far a pixel brings the lanes towards rejection.
int Gain(const Lanes& misses, const Lanes& need) {
  int gain = 0;
  for (std::size_t j = 0; j < kLanes; ++j) gain += std::min(misses[j], need[j]);
  return gain + kBlankWeight * std::min(misses[kBlankLane], need[kBlankLane]);
}

// The ranges of one pattern row, four pixels per group; the fourth byte of
// every pixel and the pixels past the pattern's width always agree.
void SetRowRanges(const Pattern& p, int y, ByteRanges* row, int groups) {
  for (int g = 0; g < groups; ++g) {
    std::uint8_t values[16] = {};
    std::uint8_t used[16] = {};
    for (int slot = 0; slot < 4 && 4 * g + slot < p.width; ++slot) {
      const PixelColor& c = p.pixels[4 * g + slot][y];
      const std::uint8_t pixel[4] = {c.blue, c.green, c.red, 0};
      std::memcpy(values + 4 * slot, pixel, 4);
      std::memset(used + 4 * slot, 0xFF, 3);
    }
    SetWithin(row[g], values, used);
  }
}

// The area's patterns seen lane by lane at every pixel of its extent; a
// pattern narrower or shorter than the extent shows its background there.
// Blank background is, pixel by pixel, the middle value of the patterns:
// most of them show background at any one pixel, and so it follows a
// gradient or a noisy background as the patterns were taught.
class AreaLanes {
 public:
  AreaLanes(const std::array<const Pattern*, 11>& sources, int width, int height)
      : height_(height), colors_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    for (std::size_t j = 0; j < sources.size(); ++j) {
      const Pattern& p = *sources[j];
      if (!UsablePattern(p)) continue;
      const PixelColor background = Background(p);
      for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) Set(At(x, y), j, x < p.width && y < p.height ? p.pixels[x][y] : background);
      }
    }
    for (int x = 0; x < width; ++x) {
      for (int y = 0; y < height; ++y) Set(At(x, y), kBlankLane, Middle(At(x, y), sources));
    }
    for (int y = 0; y < height; ++y) {
      const PixelColor edge = EdgeMiddle(sources, y);
      for (int x = 0; x < width; ++x) Set(At(x, y), kEdgeBlankLane, edge);
    }
    for (int x = width - 1; x >= 0; --x) {
      for (int y = 0; y < height; ++y) {
        LaneColors& lanes = At(x, y);
        for (std::size_t j = 0; j < sources.size(); ++j) {
          const std::size_t from = x > 0 ? j : kBlankLane;
          const LaneColors& left = At(std::max(0, x - 1), y);
          lanes.blue[kShiftedLanes + j] = left.blue[from];
          lanes.green[kShiftedLanes + j] = left.green[from];
          lanes.red[kShiftedLanes + j] = left.red[from];
        }
      }
    }
  }

  LaneColors& At(int x, int y) {
    return colors_[static_cast<std::size_t>(x) * static_cast<std::size_t>(height_) + static_cast<std::size_t>(y)];
  }

 private:
  static void Set(LaneColors& lanes, std::size_t j, const PixelColor& c) {
    lanes.blue[j] = c.blue;
    lanes.green[j] = c.green;
    lanes.red[j] = c.red;
  }

  // Per channel, the middle value of the patterns in the data model.
  static PixelColor Middle(const LaneColors& lanes, const std::array<const Pattern*, 11>& sources) {
    std::array<std::uint8_t, 11> blue{};
    std::array<std::uint8_t, 11> green{};
    std::array<std::uint8_t, 11> red{};
    std::size_t n = 0;
    for (std::size_t j = 0; j < sources.size(); ++j) {
      if (!UsablePattern(*sources[j])) continue;
      blue[n] = lanes.blue[j];
      green[n] = lanes.green[j];
      red[n] = lanes.red[j];
      ++n;
    }
    if (n == 0) return {};
    const auto middle = [n](std::array<std::uint8_t, 11>& v) {
      std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2), v.begin() + static_cast<std::ptrdiff_t>(n));
      return v[n / 2];
    };
    return {middle(blue), middle(green), middle(red)};
  }

  // Per channel, the middle value of the first and last pixel of row y of
  // every pattern that has the row: where most digits are inked at a pixel
  // (bold faces), the middle value there is ink, but the cells' edges are
  // mostly background.
  static PixelColor EdgeMiddle(const std::array<const Pattern*, 11>& sources, int y) {
    std::array<std::uint8_t, 22> blue{};
    std::array<std::uint8_t, 22> green{};
    std::array<std::uint8_t, 22> red{};
    std::size_t n = 0;
    for (const Pattern* p : sources) {
      if (!UsablePattern(*p) || y >= p->height) continue;
      for (const int x : {0, p->width - 1}) {
        blue[n] = p->pixels[x][y].blue;
        green[n] = p->pixels[x][y].green;
        red[n] = p->pixels[x][y].red;
        ++n;
      }
    }
    if (n == 0) return {};
    const auto middle = [n](std::array<std::uint8_t, 22>& v) {
      std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2), v.begin() + static_cast<std::ptrdiff_t>(n));
      return v[n / 2];
    };
    return {middle(blue), middle(green), middle(red)};
  }

  int height_;
  std::vector<LaneColors> colors_;
};

// The lanes pattern `k` is chosen against. A column that shows a smaller
// digit has been read as that digit before `k` is tried, and the delimiter
// is tried only once every digit failed; so a digit meets larger digits,
// the delimiter and blank background, the delimiter meets background.
// A column one before a digit shows it shifted, which nothing matches, so
// every pattern meets every shifted one.
Lanes InPlay(const std::array<const Pattern*, 11>& sources, std::size_t k) {
  Lanes inPlay{};
  for (std::size_t j = 0; j < sources.size(); ++j) {
    const std::uint8_t used = UsablePattern(*sources[j]) ? 0xFF : 0;
    if (j > k) inPlay[j] = used;
    inPlay[kShiftedLanes + j] = used;
  }
  inPlay[kBlankLane] = 0xFF;
  return inPlay;
}

// A pixel that rejects at least one lane in play, and by how much.
struct ProbeCandidate {
  Lanes misses;
  std::uint8_t x;
  std::uint8_t y;
};

// Copies the byte ranges of pattern pixel (x, y) from its row into a slot.
void CopyRanges(const PreparedPattern& prepared, int x, int y, ByteRanges& to, int slot) {
  const ByteRanges& from = RowRanges(prepared, y)[x / 4];
  std::memcpy(to.low + slot * 4, from.low + x % 4 * 4, 4);
  std::memcpy(to.span + slot * 4, from.span + x % 4 * 4, 4);
}

// Probe groups, greedily: each pixel is the one that brings the lanes in
// play furthest towards rejection (misses beyond a lane's need count for
// nothing), ties to the earlier pixel. A second group is chosen only for
// lanes the first leaves unrejected.
void ChooseProbes(const Pattern& p, PreparedPattern& prepared, AreaLanes& lanes, const Lanes& inPlay) {
  std::vector<ProbeCandidate> candidates;
  candidates.reserve(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      Lanes misses = MissesAgainst(lanes.At(x, y), p.pixels[x][y], inPlay);
      // Left of a shifted glyph lies whatever precedes it: without a gap
      // between digits, the last column of the digit before.
      if (x == 0) std::fill_n(misses.begin() + kShiftedLanes, 11, std::uint8_t{0});
      if (AnyLeft(misses)) candidates.push_back({misses, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    }
  }
  Lanes need;
  const auto firstNeed = static_cast<std::uint8_t>(std::min(prepared.allowedMisses + 1, 255));
  for (std::size_t j = 0; j < kLanes; ++j) need[j] = inPlay[j] & firstNeed;

  prepared.probeGroups = 0;
  for (ProbeGroup& g : prepared.probes) {
    int slot = 0;
    for (; slot < 4 && AnyLeft(need); ++slot) {
      ProbeCandidate* best = nullptr;
      int bestGain = 0;
      for (ProbeCandidate& c : candidates) {
        const int gain = Gain(c.misses, need);
        if (gain > bestGain) {
          best = &c;
          bestGain = gain;
        }
      }
      if (best == nullptr) break;
      Reduce(need, best->misses);
      best->misses = Lanes{};  // never chosen twice
      g.x[static_cast<std::size_t>(slot)] = best->x;
      g.y[static_cast<std::size_t>(slot)] = best->y;
      CopyRanges(prepared, best->x, best->y, g.ranges, slot);
    }
    if (slot == 0) break;
    for (; slot < 4; ++slot) {
      g.x[static_cast<std::size_t>(slot)] = 0;
      g.y[static_cast<std::size_t>(slot)] = 0;
      SetAnything(g.ranges, slot);  // reads pixel (0, 0), which always exists
    }
    ++prepared.probeGroups;
  }
}

PreparedPattern Prepare(const Pattern& p, AreaLanes& lanes, const Lanes& inPlay) {
  PreparedPattern prepared;
  prepared.width = p.width;
  prepared.height = p.height;
  if (!UsablePattern(p)) return prepared;
  prepared.needed = NeededCount(p.width, p.height);
  prepared.allowedMisses = 3 * p.width * p.height - prepared.needed;
  prepared.groupsPerRow = (p.width + 3) / 4;
  prepared.rowPadding = 16 * prepared.groupsPerRow - 3 * p.width;
  const auto groups = static_cast<std::size_t>(prepared.groupsPerRow);
  prepared.rows.resize(static_cast<std::size_t>(p.height) * groups);
  for (int y = 0; y < p.height; ++y) SetRowRanges(p, y, &prepared.rows[static_cast<std::size_t>(y) * groups], prepared.groupsPerRow);
  const std::size_t plane = prepared.rows.size() * 16;
  prepared.planes.resize(2 * plane);
  for (std::size_t i = 0; i < prepared.rows.size(); ++i) {
    std::memcpy(prepared.planes.data() + 16 * i, prepared.rows[i].low, 16);
    std::memcpy(prepared.planes.data() + plane + 16 * i, prepared.rows[i].span, 16);
  }
  if (prepared.allowedMisses >= 0) ChooseProbes(p, prepared, lanes, inPlay);
  return prepared;
}

// Copies a probe group into half `half` of unit `unit`.
void PutGroup(ScanOrder& order, int unit, int half, const ProbeGroup& group) {
  const auto at = 2 * static_cast<std::size_t>(unit) + static_cast<std::size_t>(half);
  std::copy(group.x.begin(), group.x.end(), order.x.begin() + static_cast<std::ptrdiff_t>(4 * at));
  std::copy(group.y.begin(), group.y.end(), order.y.begin() + static_cast<std::ptrdiff_t>(4 * at));
  std::memcpy(order.low.data() + 16 * at, group.ranges.low, 16);
  std::memcpy(order.span.data() + 16 * at, group.ranges.span, 16);
}

// The units of the slots in order: a candidate whose first group can
// reject it shares a unit with the next such candidate, one that needs two
// groups has a unit of its own, one without probes always survives.
void PlaceUnits(const PreparedArea& area, ScanOrder& order) {
  order.low.fill(0);
  order.span.fill(255);
  order.leastAgreeing.fill(17);  // more than a half holds: a half without a candidate never survives
  bool open = false;  // the last unit's second half is free
  for (int s = 0; s < order.count; ++s) {
    const PreparedPattern& pattern = area.patterns[static_cast<std::size_t>(order.index[static_cast<std::size_t>(s)])];
    // A group holds twelve channel bytes: a larger allowance needs two.
    const int lead = pattern.probeGroups == 0 ? 0 : pattern.allowedMisses < 12 || pattern.probeGroups == 1 ? 1 : 2;
    const int half = lead < 2 && open ? 1 : 0;
    if (half == 0) ++order.units;
    open = half == 0 && lead < 2;
    const int unit = order.units - 1;
    const auto at = 2 * static_cast<std::size_t>(unit) + static_cast<std::size_t>(half);
    order.slot[at] = static_cast<std::uint8_t>(s);
    order.nextGroup[at] = static_cast<std::uint8_t>(lead);
    if (lead == 0) {  // no probes: survives whatever its half reads
      order.bits[at] = 0;
      order.leastAgreeing[at] = 0;
      continue;
    }
    PutGroup(order, unit, half, pattern.probes[0]);
    if (lead == 2) PutGroup(order, unit, 1, pattern.probes[1]);
    order.bits[at] = lead == 2 ? 0xFFFFFFFFu : half == 0 ? 0xFFFFu : 0xFFFF0000u;
    order.leastAgreeing[at] = 16 * lead - pattern.allowedMisses;
  }
}

// The patterns `takesPart` accepts, in the scan's order, with their
// first probe groups in place.
template <typename Accept>
ScanOrder OrderOf(const PreparedArea& area, Accept takesPart) {
  ScanOrder order;
  for (std::size_t k = 0; k < area.patterns.size(); ++k) {
    const PreparedPattern& pattern = area.patterns[k];
    if (!takesPart(pattern)) continue;
    const auto slot = static_cast<std::size_t>(order.count++);
    order.index[slot] = static_cast<int>(k);
    order.widest = std::max(order.widest, pattern.width);
    order.tallest = std::max(order.tallest, pattern.height);
    if (pattern.probeGroups == 0) continue;
    const ProbeGroup& first = pattern.probes[0];
    std::copy(first.x.begin(), first.x.end(), order.firstX.begin() + static_cast<std::ptrdiff_t>(4 * slot));
    std::copy(first.y.begin(), first.y.end(), order.firstY.begin() + static_cast<std::ptrdiff_t>(4 * slot));
  }
  PlaceUnits(area, order);
  return order;
}

// Whether pattern k cannot match at column X − 1 where pattern m matches
// at X. Column i of k meets the same captured column as column i − 1 of
// m; a captured byte whose two pattern values lie more than 2 × 20 apart
// misses at least one of them, so the two together miss at least as many
// bytes as lie that far apart, and m misses at most its allowance.
bool ExcludedLeftOf(const Pattern& k, const PreparedPattern& preparedK, const Pattern& m, const PreparedPattern& preparedM) {
  if (preparedK.allowedMisses < 0) return true;  // never matches anywhere
  if (preparedM.allowedMisses < 0) return false;  // never matches: nothing to learn from
  const int rows = std::min(k.height, m.height);
  const int columns = std::min(k.width, m.width + 1);
  const int apart = 2 * kChannelTolerance;
  int disjoint = 0;
  for (int i = 1; i < columns; ++i) {
    for (int y = 0; y < rows; ++y) {
      const PixelColor& a = k.pixels[i][y];
      const PixelColor& b = m.pixels[i - 1][y];
      disjoint += (std::abs(a.blue - b.blue) > apart ? 1 : 0) + (std::abs(a.green - b.green) > apart ? 1 : 0) +
                  (std::abs(a.red - b.red) > apart ? 1 : 0);
    }
  }
  return disjoint > preparedK.allowedMisses + preparedM.allowedMisses;
}

PreparedArea PrepareArea(const PatternSet& set, int area) {
  std::array<const Pattern*, 11> sources{};
  for (std::size_t d = 0; d < 10; ++d) sources[d] = &set.digitPatterns[static_cast<std::size_t>(area) * 10 + d];
  sources[10] = &set.delimiterPatterns[static_cast<std::size_t>(area)];

  PreparedArea prepared;
  prepared.cellWidth = set.cellWidth[static_cast<std::size_t>(area)];
  prepared.cellHeight = set.cellHeight[static_cast<std::size_t>(area)];
  prepared.shape = ShapeOf(set, area);
  int width = 0;
  int height = 0;
  for (const Pattern* p : sources) {
    if (!UsablePattern(*p)) continue;
    width = std::max(width, p->width);
    height = std::max(height, p->height);
  }
  prepared.reach = 4 * ((width + 3) / 4);
  AreaLanes lanes(sources, width, height);
  for (std::size_t k = 0; k < sources.size(); ++k) prepared.patterns[k] = Prepare(*sources[k], lanes, InPlay(sources, k));
  prepared.order = OrderOf(prepared, [](const PreparedPattern& p) { return p.allowedMisses >= 0; });
  for (std::size_t m = 0; m < sources.size(); ++m) {
    for (std::size_t k = 0; k < sources.size(); ++k) {
      if (ExcludedLeftOf(*sources[k], prepared.patterns[k], *sources[m], prepared.patterns[m])) {
        prepared.excludedLeftOf[m] = static_cast<std::uint16_t>(prepared.excludedLeftOf[m] | 1u << k);
      }
    }
  }
  // The digits' variants, k-th of each digit side by side, as an area of
  // their own that has no delimiter: the looks kept and the half-pixel one.
  for (std::size_t k = 0; k < static_cast<std::size_t>(kMaxVariants) + 1; ++k) {
    PatternSet layer;
    bool any = false;
    for (std::size_t d = 0; d < 10; ++d) {
      const std::vector<Pattern>& variants = set.variants[static_cast<std::size_t>(area) * 10 + d];
      if (k >= variants.size()) continue;
      layer.digitPatterns[static_cast<std::size_t>(area) * 10 + d] = variants[k];
      any = true;
    }
    if (!any) break;
    layer.cellWidth = set.cellWidth;
    layer.cellHeight = set.cellHeight;
    prepared.variants.push_back(PrepareArea(layer, area));
    prepared.reach = std::max(prepared.reach, prepared.variants.back().reach);
  }
  return prepared;
}

}  // namespace

PatternMatcher::PatternMatcher(const PatternSet& set, ScanKernel kernel)
    : areas_{PrepareArea(set, 0), PrepareArea(set, 1)} {
  const bool avx2 = kernel == ScanKernel::Best && Avx2Available();
  for (PreparedArea& area : areas_) {
    area.avx2 = avx2;
    for (PreparedArea& variants : area.variants) variants.avx2 = avx2;
  }
}

// NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init): tail_ is written where it is read
FrameSource::FrameSource(const PixelGrid& capture, int reach)
    : capture_(capture),
      reach_(std::clamp(reach, 0, kMaxReach)),
      tailStart_(std::max(0, capture.width - reach_)),
      tailStride_(capture.width - tailStart_ + reach_) {}

void FrameSource::CopyTail() {
  // Only the rows a pattern can cover; columns past the picture are black.
  const int rows = std::clamp(capture_.height, 0, kPatternCapacity);
  const int kept = capture_.width - tailStart_;
  for (int y = 0; y < rows; ++y) {
    std::uint32_t* row = tail_.data() + static_cast<std::ptrdiff_t>(y) * tailStride_;
    std::copy_n(capture_.pixels.data() + static_cast<std::ptrdiff_t>(y) * capture_.width + tailStart_, kept, row);
    std::fill_n(row + kept, reach_, 0u);
  }
  tailCopied_ = true;
}

AreaCandidates::AreaCandidates(const PreparedArea& area, const PixelGrid& capture)
    : area_(area), order_(&area.order), avx2_(area.avx2) {
  // Nearly always every pattern fits the capture; a smaller capture leaves
  // out those that do not.
  if (capture.width < area.order.widest || capture.height < area.order.tallest) {
    own_ = OrderOf(area, [&](const PreparedPattern& p) { return Usable(p, capture); });
    order_ = &*own_;
  }
  for (int i = 0; i < order_->count; ++i) {
    candidateBits_ = static_cast<std::uint16_t>(candidateBits_ | 1u << order_->index[static_cast<std::size_t>(i)]);
  }
  for (const PreparedArea& layer : area.variants) variants_.push_back(std::make_unique<AreaCandidates>(layer, capture));
}

void AreaCandidates::Place(std::ptrdiff_t stride) {
  // Unused places hold zeros: they read pixel (0, 0), which always exists.
  if (avx2_) {
    PlaceUnits(stride);
  } else {
    const auto used = 4 * static_cast<std::size_t>(order_->count);
    for (std::size_t i = 0; i < used; ++i) offsets_[i] = order_->firstY[i] * stride + order_->firstX[i];
  }
  placedStride_ = stride;
}

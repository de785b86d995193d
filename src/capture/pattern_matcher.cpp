#include "capture/pattern_matcher.h"

#include <algorithm>
#include <cstring>

#include "capture/match_rule.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool InModel(const Pattern& p) {
  return p.width >= 1 && p.height >= 1 && p.width <= kPatternCapacity && p.height <= kPatternCapacity;
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
// a whole cell apart. The rest are unused.
constexpr int kLanes = 32;
constexpr std::size_t kBlankLane = 11;
constexpr std::size_t kShiftedLanes = 12;
using Lanes = std::array<std::uint8_t, kLanes>;

// A capture's channel lies up to this far from what the lane shows (a
// screen grab's noise); a probe pixel only counts against a lane when it
// stays apart from it even so.
constexpr int kProbeMargin = 8;

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
  return gain;
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
      if (!InModel(p)) continue;
      const PixelColor background = Background(p);
      for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) Set(At(x, y), j, x < p.width && y < p.height ? p.pixels[x][y] : background);
      }
    }
    for (int x = 0; x < width; ++x) {
      for (int y = 0; y < height; ++y) Set(At(x, y), kBlankLane, Middle(At(x, y), sources));
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
      if (!InModel(*sources[j])) continue;
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
    const std::uint8_t used = InModel(*sources[j]) ? 0xFF : 0;
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
      const Lanes misses = MissesAgainst(lanes.At(x, y), p.pixels[x][y], inPlay);
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
  if (!InModel(p)) return prepared;
  prepared.needed = NeededCount(p.width, p.height);
  prepared.allowedMisses = 3 * p.width * p.height - prepared.needed;
  prepared.groupsPerRow = (p.width + 3) / 4;
  prepared.rowPadding = 16 * prepared.groupsPerRow - 3 * p.width;
  const auto groups = static_cast<std::size_t>(prepared.groupsPerRow);
  prepared.rows.resize(static_cast<std::size_t>(p.height) * groups);
  for (int y = 0; y < p.height; ++y) SetRowRanges(p, y, &prepared.rows[static_cast<std::size_t>(y) * groups], prepared.groupsPerRow);
  if (prepared.allowedMisses >= 0) ChooseProbes(p, prepared, lanes, inPlay);
  return prepared;
}

PreparedArea PrepareArea(const PatternSet& set, int area) {
  std::array<const Pattern*, 11> sources{};
  for (std::size_t d = 0; d < 10; ++d) sources[d] = &set.digitPatterns[static_cast<std::size_t>(area) * 10 + d];
  sources[10] = &set.delimiterPatterns[static_cast<std::size_t>(area)];

  PreparedArea prepared;
  prepared.cellWidth = set.cellWidth[static_cast<std::size_t>(area)];
  int width = 0;
  int height = 0;
  for (const Pattern* p : sources) {
    if (!InModel(*p)) continue;
    width = std::max(width, p->width);
    height = std::max(height, p->height);
  }
  prepared.reach = 4 * ((width + 3) / 4);
  AreaLanes lanes(sources, width, height);
  for (std::size_t k = 0; k < sources.size(); ++k) prepared.patterns[k] = Prepare(*sources[k], lanes, InPlay(sources, k));
  return prepared;
}

}  // namespace

PatternMatcher::PatternMatcher(const PatternSet& set, ScanKernel kernel)
    : areas_{PrepareArea(set, 0), PrepareArea(set, 1)} {
  const bool avx2 = kernel == ScanKernel::Best && Avx2Available();
  for (PreparedArea& area : areas_) area.avx2 = avx2;
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

AreaCandidates::AreaCandidates(const PreparedArea& area, const PixelGrid& capture) : avx2Area_(area.avx2) {
  for (std::size_t k = 0; k < area.patterns.size(); ++k) {
    if (!Usable(area.patterns[k], capture)) continue;
    Candidate& c = candidates_[static_cast<std::size_t>(count_++)];
    c.pattern = &area.patterns[k];
    c.index = static_cast<int>(k);
  }
}

void AreaCandidates::Place(std::ptrdiff_t stride) {
  for (int i = 0; i < count_; ++i) {
    Candidate& c = candidates_[static_cast<std::size_t>(i)];
    for (int g = 0; g < c.pattern->probeGroups; ++g) {
      const ProbeGroup& group = c.pattern->probes[static_cast<std::size_t>(g)];
      for (std::size_t s = 0; s < 4; ++s) {
        c.offsets[static_cast<std::size_t>(4 * g) + s] = group.y[s] * stride + group.x[s];
      }
    }
  }
  // The AVX2 loop keeps 32-bit offsets: a frame 41 rows of 50 million
  // pixels wide would not fit them.
  avx2_ = avx2Area_ && stride <= (INT32_MAX - FrameSource::kMaxReach) / kPatternCapacity;
  if (avx2_) PlaceFirstGroups();
  placedStride_ = stride;
}



void AreaCandidates::PlaceFirstGroups() {
  first_.offsets.fill(0);
  first_.low.fill(0);
  first_.span.fill(255);
  first_.leastAgreeing.fill(0);
  for (int i = 0; i < count_; ++i) {
    const Candidate& c = candidates_[static_cast<std::size_t>(i)];
    const PreparedPattern& pattern = *c.pattern;
    if (pattern.probeGroups == 0) continue;  // survives, as the spare slot does
    for (std::size_t s = 0; s < 4; ++s) first_.offsets[4 * static_cast<std::size_t>(i) + s] = static_cast<std::int32_t>(c.offsets[s]);
    std::memcpy(first_.low.data() + 16 * i, pattern.probes[0].ranges.low, 16);
    std::memcpy(first_.span.data() + 16 * i, pattern.probes[0].ranges.span, 16);
    first_.leastAgreeing[static_cast<std::size_t>(i)] = 16 - pattern.allowedMisses;
  }
}

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
// patterns (digits, then the delimiter), lane 11 blank background; the rest
// are unused. Sixteen: one SSE2 register, so a pixel's lanes are compared
// in a few instructions.
constexpr int kLanes = 16;
constexpr std::size_t kBlankLane = 11;
using Lanes = std::array<std::uint8_t, kLanes>;

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

__m128i LoadLanes(const Lanes& l) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(l.data())); }

// 1 in every lane whose channel byte lies more than 20 from `value`.
__m128i ChannelApart(const Lanes& channel, std::uint8_t value) {
  const __m128i a = LoadLanes(channel);
  const __m128i b = _mm_set1_epi8(static_cast<char>(value));
  const __m128i difference = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
  return _mm_min_epu8(_mm_subs_epu8(difference, _mm_set1_epi8(kChannelTolerance)), _mm_set1_epi8(1));
}

// Channel bytes that disagree with colour `c`, per lane; lanes not in play
// count none. Vectorised: the choice runs over every pixel and lane of
// every pattern whenever a set is prepared.
Lanes MissesAgainst(const LaneColors& lanes, const PixelColor& c, const Lanes& inPlay) {
  const __m128i sum = _mm_add_epi8(_mm_add_epi8(ChannelApart(lanes.blue, c.blue), ChannelApart(lanes.green, c.green)),
                                   ChannelApart(lanes.red, c.red));
  Lanes m;
  _mm_storeu_si128(reinterpret_cast<__m128i*>(m.data()), _mm_and_si128(sum, LoadLanes(inPlay)));
  return m;
}

// Whether any lane still needs misses.
bool AnyLeft(const Lanes& need) { return _mm_movemask_epi8(_mm_cmpeq_epi8(LoadLanes(need), _mm_setzero_si128())) != 0xFFFF; }

// The need left once a pixel's misses are counted.
void Reduce(Lanes& need, const Lanes& misses) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(need.data()), _mm_subs_epu8(LoadLanes(need), LoadLanes(misses)));
}

// How far a pixel brings the lanes towards rejection.
int Gain(const Lanes& misses, const Lanes& need) {
  const __m128i sums = _mm_sad_epu8(_mm_min_epu8(LoadLanes(misses), LoadLanes(need)), _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
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

std::uint8_t ApartByte(std::uint8_t a, std::uint8_t b) {
  return (a > b ? a - b : b - a) > kChannelTolerance ? 1 : 0;
}

Lanes MissesAgainst(const LaneColors& lanes, const PixelColor& c, const Lanes& inPlay) {
  Lanes m;
  for (std::size_t j = 0; j < kLanes; ++j) {
    m[j] = static_cast<std::uint8_t>(inPlay[j] & (ApartByte(lanes.blue[j], c.blue) + ApartByte(lanes.green[j], c.green) +
                                                  ApartByte(lanes.red[j], c.red)));
  }
  return m;
}

bool AnyLeft(const Lanes& need) {
  return std::any_of(need.begin(), need.end(), [](std::uint8_t n) { return n != 0; });
}

void Reduce(Lanes& need, const Lanes& misses) {
  for (std::size_t j = 0; j < kLanes; ++j) need[j] = static_cast<std::uint8_t>(need[j] - std::min(need[j], misses[j]));
}

int Gain(const Lanes& misses, const Lanes& need) {
  int gain = 0;
  for (std::size_t j = 0; j < kLanes; ++j) gain += std::min(misses[j], need[j]);
  return gain;
}

#endif

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
class AreaLanes {
 public:
  AreaLanes(const std::array<const Pattern*, 11>& sources, int width, int height)
      : height_(height), colors_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    for (std::size_t j = 0; j < sources.size(); ++j) {
      const Pattern& p = *sources[j];
      if (!InModel(p)) continue;
      const PixelColor background = Background(p);
      for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
          const PixelColor& c = x < p.width && y < p.height ? p.pixels[x][y] : background;
          LaneColors& lanes = At(x, y);
          lanes.blue[j] = c.blue;
          lanes.green[j] = c.green;
          lanes.red[j] = c.red;
        }
      }
    }
  }

  LaneColors& At(int x, int y) {
    return colors_[static_cast<std::size_t>(x) * static_cast<std::size_t>(height_) + static_cast<std::size_t>(y)];
  }

  // Blank background in the colour of the pattern being prepared; the
  // patterns of a set normally share it, so this is rewritten once.
  void SetBlank(const PixelColor& c) {
    if (blankSet_ && Same(c, blank_)) return;
    for (LaneColors& lanes : colors_) {
      lanes.blue[kBlankLane] = c.blue;
      lanes.green[kBlankLane] = c.green;
      lanes.red[kBlankLane] = c.red;
    }
    blank_ = c;
    blankSet_ = true;
  }

 private:
  int height_;
  std::vector<LaneColors> colors_;
  PixelColor blank_;
  bool blankSet_ = false;
};

// The lanes pattern `k` is chosen against. A column that shows a smaller
// digit has been read as that digit before `k` is tried, and the delimiter
// is tried only once every digit failed; so a digit meets larger digits,
// the delimiter and blank background, the delimiter meets background.
Lanes InPlay(const std::array<const Pattern*, 11>& sources, std::size_t k) {
  Lanes inPlay{};
  for (std::size_t j = k + 1; j < sources.size(); ++j) inPlay[j] = InModel(*sources[j]) ? 0xFF : 0;
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
  lanes.SetBlank(Background(p));
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

PatternMatcher::PatternMatcher(const PatternSet& set) : areas_{PrepareArea(set, 0), PrepareArea(set, 1)} {}

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

AreaCandidates::AreaCandidates(const PreparedArea& area, const PixelGrid& capture) {
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
  placedStride_ = stride;
}



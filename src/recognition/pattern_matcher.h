#pragma once
// The pattern set in the form the fast scan reads, prepared once per set.
//
// Every pattern row becomes byte ranges (capture values within 20 of each
// channel agree) in groups of four pixels, compared sixteen bytes at a time.
// Before the full count, four probe pixels are tried (up to twelve when
// four cannot tell the pattern from everything it is likely to meet):
// chosen so that a capture showing blank background, the delimiter, a
// larger digit or any glyph one column to the right runs out of the
// pattern's miss allowance there, even with a screen grab's noise. Scores
// stay exact: the allowance is derived from the integer score rule, and a
// pattern that survives the probes is counted in full.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "recognition/byte_ranges.h"
#include "recognition/mark_walk.h"
#include "recognition/match_rule.h"
#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

// Probe groups tried before the full count. One group of four pixels
// rejects most candidates; the others catch the captures the first cannot
// tell apart from the pattern.
inline constexpr int kMaxProbeGroups = 3;

// Four probe pixels, (x, y) from the pattern's top left.
struct ProbeGroup {
  ByteRanges ranges;
  std::array<std::uint8_t, 4> x{};
  std::array<std::uint8_t, 4> y{};
};

struct PreparedPattern {
  int width = 0;
  int height = 0;
  int needed = 0;          // agreeing channel bytes that make a match
  int allowedMisses = -1;  // disagreeing bytes a match can afford; below 0: never matches
  int groupsPerRow = 0;    // four-pixel groups covering a row
  int rowPadding = 0;      // bytes of a row's groups that always agree (fourth bytes, padding)
  std::vector<ByteRanges> rows;  // height × groupsPerRow
  int probeGroups = 0;           // groups of `probes` in use
  std::array<ProbeGroup, kMaxProbeGroups> probes;  // tried before the full count
  // The same ranges for AVX2's 32-byte loads: the low bytes of every row's
  // groups one row after another, then their spans in the same order.
  std::vector<std::uint8_t> planes;
};

// The candidates a scan tries, in the order it tries them: the patterns
// that can match at all, digits first, then the delimiter.
//
// For AVX2 their leading probe groups lie side by side in units of two
// groups, one 256-bit register each: the first groups of two candidates,
// or the first two groups of one whose miss allowance a single group
// cannot exceed (larger patterns). A half without a candidate never
// survives.
inline constexpr int kMaxUnits = 11;

struct ScanOrder {
  int count = 0;
  std::array<int, 11> index{};  // pattern (digit, or 10 for the delimiter) of each slot
  int widest = 0;               // a capture at least this wide and tall
  int tallest = 0;              // can be compared with every one of them
  std::array<std::uint8_t, 4 * 11> firstX{};  // the first groups' pixels, slot by slot
  std::array<std::uint8_t, 4 * 11> firstY{};

  int units = 0;
  std::array<std::uint8_t, 8 * kMaxUnits> x{};  // the units' pixels
  std::array<std::uint8_t, 8 * kMaxUnits> y{};
  std::array<std::uint8_t, 32 * kMaxUnits> low{};
  std::array<std::uint8_t, 32 * kMaxUnits> span{};
  // Per half of a unit: the agreement bits that count for its candidate,
  // the fewest agreeing bytes that let it survive (17: no candidate), the
  // candidate's slot and the probe group it goes on with.
  std::array<std::uint32_t, 2 * kMaxUnits> bits{};
  std::array<int, 2 * kMaxUnits> leastAgreeing{};
  std::array<std::uint8_t, 2 * kMaxUnits> slot{};
  std::array<std::uint8_t, 2 * kMaxUnits> nextGroup{};
};

// Which instructions the scan's probes use. Both give the same results;
// the choice exists so that both are tested on machines that have AVX2.
enum class ScanKernel {
  Best,  // AVX2 where the processor has it, else SSE2
  Sse2,  // SSE2 (or plain C++ off x86) everywhere
};

struct PreparedArea {
  std::array<PreparedPattern, 11> patterns;  // digits 0 … 9, then the delimiter
  int cellWidth = 0;                         // the set's, for the jump after a digit
  int cellHeight = 0;                        // the set's, for the look at unread ink
  AreaShape shape;                           // where the walk over the marks compares
  int reach = 0;                             // columns right of X a comparison may read
  bool avx2 = false;                         // probes and counts with AVX2
  ScanOrder order;                           // what a scan outside debug mode tries
  // Per pattern m, the patterns (bit k for pattern k) that cannot match one
  // column left of where m matches: wherever the two overlap, they differ
  // by more than twice the tolerance in more channel bytes than both can
  // miss together, and a captured byte lies within the tolerance of at
  // most one of them. A pattern that never matches is in every set.
  std::array<std::uint16_t, 11> excludedLeftOf{};
  // The digits' variants: the k-th of every digit that has one, prepared
  // as an area without a delimiter (empty when no digit has variants).
  std::vector<PreparedArea> variants;
};

// Whether this processor runs the AVX2 probes and count.
bool Avx2Available();

class PatternMatcher {
 public:
  explicit PatternMatcher(const PatternSet& set, ScanKernel kernel = ScanKernel::Best);
  const PreparedArea& Area(int area) const { return areas_[static_cast<std::size_t>(area)]; }

 private:
  std::array<PreparedArea, 2> areas_;
};

// Where a comparison at column X reads: pixel (x, y) of the frame is
// origin[y * stride + x].
struct FrameView {
  const std::uint32_t* origin;
  std::ptrdiff_t stride;
};

// One area's capture as the frame sees it: the grid itself where the frame
// lies inside it, a copy of its right end followed by black columns where
// the frame reaches past the picture. The copy is made only when a frame
// first needs it: a scan that stops at a delimiter seldom gets that far.
class FrameSource {
 public:
  FrameSource(const PixelGrid& capture, int reach);
  FrameView At(int x) {
    // A grid without rows may have no storage at all: never offset into it.
    if (x + reach_ <= capture_.width && capture_.height > 0) return {capture_.pixels.data() + x, capture_.width};
    if (!tailCopied_) CopyTail();
    return {tail_.data() + (x - tailStart_), tailStride_};
  }

  // A comparison reads at most this far right of X (four-pixel groups of
  // a 41-pixel row) and this far down.
  static constexpr int kMaxReach = 4 * ((kPatternCapacity + 3) / 4);

 private:
  void CopyTail();

  const PixelGrid& capture_;
  int reach_;
  int tailStart_;
  int tailStride_;
  bool tailCopied_ = false;
  // On the stack: recognition runs often and the copy is small. Only the
  // part in use is written.
  std::array<std::uint32_t, 2 * kMaxReach * kPatternCapacity> tail_;
};


// Whether a prepared pattern can be compared with this capture at all.
inline bool Usable(const PreparedPattern& pattern, const PixelGrid& capture) {
  return pattern.allowedMisses >= 0 && pattern.width <= capture.width && pattern.height <= capture.height;
}

// Rows counted between two looks at the running totals. The probes reject
// nearly every candidate that is not the pattern, so a look seldom ends a
// count early: the delivered patterns (13 and 9 rows) are counted in one
// block, without the bookkeeping of a look every few rows. (Measured: 13
// also compiles to a tighter loop than 16 here.)
inline constexpr int kRowsPerLook = 13;
static_assert(kRowsPerLook * ((kPatternCapacity + 3) / 4) <= 255, "a block must not overflow the byte counters");

// The byte ranges of pattern row y.
inline const ByteRanges* RowRanges(const PreparedPattern& pattern, int y) {
  return pattern.rows.data() + static_cast<std::ptrdiff_t>(y) * pattern.groupsPerRow;
}

// Whether the full count puts the score above the threshold; stops as soon
// as the answer is certain. The padding of every group always agrees.
inline bool CountPasses(const PreparedPattern& pattern, FrameView frame) {
  int agreeing = 0;
  int misses = 0;
  for (int y = 0; y < pattern.height; y += kRowsPerLook) {
    const int rows = std::min(kRowsPerLook, pattern.height - y);
    const int block = AgreeingBytes(frame.origin + y * frame.stride, frame.stride,
                                    RowRanges(pattern, y), pattern.groupsPerRow, rows) -
                      rows * pattern.rowPadding;
    agreeing += block;
    misses += rows * 3 * pattern.width - block;
    if (misses > pattern.allowedMisses) return false;
    if (agreeing >= pattern.needed) return true;
  }
  return false;
}

// The exact score, every pixel counted (the report needs it).
inline int FullScore(const PreparedPattern& pattern, FrameView frame) {
  int agreeing = 0;
  for (int y = 0; y < pattern.height; y += kRowsPerLook) {
    const int rows = std::min(kRowsPerLook, pattern.height - y);
    agreeing += AgreeingBytes(frame.origin + y * frame.stride, frame.stride,
                              RowRanges(pattern, y), pattern.groupsPerRow, rows) -
                rows * pattern.rowPadding;
  }
  return ScoreFromCount(agreeing, pattern.width, pattern.height);
}

// The patterns one scan of an area compares outside debug mode, with
// their first probe pixels turned into offsets for the frames' row stride.
// Placing them once per stride (a scan sees at most two) saves the
// arithmetic on every candidate; the later probe groups, which few
// candidates reach, are placed when they are needed.
class AreaCandidates {
 public:
  AreaCandidates(const PreparedArea& area, const PixelGrid& capture);
  AreaCandidates(const AreaCandidates&) = delete;
  AreaCandidates& operator=(const AreaCandidates&) = delete;

  // Whether no candidate can match one column left of where pattern
  // `shown` (≥ 0) matches.
  bool NothingLeftOf(int shown) const {
    return (area_.excludedLeftOf[static_cast<std::size_t>(shown)] & candidateBits_) == candidateBits_;
  }

  // What the frame shows: the smallest digit that passes (its pattern or a
  // variant), else 10 for the delimiter, else −1.
  int FirstMatch(FrameView frame) {
    const int shown = FirstOwnMatch(frame);
    return variants_.empty() ? shown : WithVariants(frame, shown);
  }

 private:
  int FirstOwnMatch(FrameView frame) {
    if (frame.stride != placedStride_) Place(frame.stride);
    if (avx2_) return FirstMatchAvx2(frame);
    for (int i = 0; i < order_->count; ++i) {
      if (Passes(i, frame)) return order_->index[static_cast<std::size_t>(i)];
    }
    return -1;
  }
  // A variant of a smaller digit reads first, as that digit's pattern would.
  int WithVariants(FrameView frame, int shown) {
    for (const std::unique_ptr<AreaCandidates>& variants : variants_) {
      const int d = variants->FirstOwnMatch(frame);
      if (d >= 0 && d < 10 && (shown < 0 || shown >= 10 || d < shown)) shown = d;
    }
    return shown;
  }

  const PreparedPattern& PatternOf(int slot) const {
    return area_.patterns[static_cast<std::size_t>(order_->index[static_cast<std::size_t>(slot)])];
  }

  // Misses of probe groups `from` … of a pattern, added to `misses`,
  // stopping once they are more than it can afford; whether it can still
  // match.
  static bool LaterProbesPass(const PreparedPattern& pattern, FrameView frame, int from, int misses) {
    for (int g = from; g < pattern.probeGroups; ++g) {
      const ProbeGroup& group = pattern.probes[static_cast<std::size_t>(g)];
      std::array<std::ptrdiff_t, 4> offsets{};
      for (std::size_t s = 0; s < 4; ++s) offsets[s] = group.y[s] * frame.stride + group.x[s];
      misses += 16 - AgreeingBytesAt(frame.origin, offsets.data(), group.ranges);
      if (misses > pattern.allowedMisses) return false;
    }
    return true;
  }

  // The probes first: a capture that does not show the pattern runs out of
  // its miss allowance there. Scores stay exact: a candidate that survives
  // them is counted in full.
  bool Passes(int slot, FrameView frame) const {
    const PreparedPattern& pattern = PatternOf(slot);
    int misses = 0;
    if (pattern.probeGroups > 0) {
      misses = 16 - AgreeingBytesAt(frame.origin, offsets_.data() + 4 * slot, pattern.probes[0].ranges);
      if (misses > pattern.allowedMisses) return false;
    }
    return LaterProbesPass(pattern, frame, 1, misses) && CountPasses(pattern, frame);
  }

  // The same with the leading probe groups compared a unit at a time and
  // the count made 32 bytes at a time (pattern_matcher_avx2.cpp).
  int FirstMatchAvx2(FrameView frame) const;

  void Place(std::ptrdiff_t stride);
  void PlaceUnits(std::ptrdiff_t stride);  // the units' pixels, with AVX2

  const PreparedArea& area_;
  const ScanOrder* order_;        // the area's, or own_ when some patterns do not fit the capture
  std::optional<ScanOrder> own_;
  // At the placed stride: the units' pixels for the vector loops, else the
  // first groups'. Only the part in use is written.
  std::array<std::ptrdiff_t, 8 * kMaxUnits> offsets_;
  std::ptrdiff_t placedStride_ = -1;
  std::uint16_t candidateBits_ = 0;  // bit k: pattern k is a candidate
  bool avx2_;
  std::vector<std::unique_ptr<AreaCandidates>> variants_;  // of the area's variant layers
};

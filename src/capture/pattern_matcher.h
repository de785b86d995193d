#pragma once
// The pattern set in the form the fast scan reads, prepared once per set.
//
// Every pattern row becomes byte ranges (capture values within 20 of each
// channel agree) in groups of four pixels, compared sixteen bytes at a time.
// Before the full count, four probe pixels are tried (eight when four
// cannot tell the pattern from everything it is likely to meet): chosen so
// that a capture showing blank background, the delimiter or a larger digit
// runs out of the pattern's miss allowance there. Scores stay exact: the
// allowance is derived from the integer score rule, and a pattern that
// survives the probes is counted in full.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/byte_ranges.h"
#include "capture/match_rule.h"
#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

// Probe groups tried before the full count. One group of four pixels
// rejects most candidates; a second catches the captures the first cannot
// tell apart from the pattern.
inline constexpr int kMaxProbeGroups = 2;

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
};

struct PreparedArea {
  std::array<PreparedPattern, 11> patterns;  // digits 0 … 9, then the delimiter
  int cellWidth = 0;                         // the set's, for the jump after a digit
  int reach = 0;                             // columns right of X a comparison may read
};

class PatternMatcher {
 public:
  explicit PatternMatcher(const PatternSet& set);
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
    if (x + reach_ <= capture_.width) return {capture_.pixels.data() + x, capture_.width};
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

// The patterns one scan of an area compares outside debug mode: those
// usable with its capture, digits first, with their probe pixels turned
// into offsets for the frames' row stride. Placing them once per stride
// (a scan sees at most two) saves the arithmetic on every candidate.
class AreaCandidates {
 public:
  AreaCandidates(const PreparedArea& area, const PixelGrid& capture);

  // What the frame shows: the smallest digit that passes, else 10 for the
  // delimiter, else −1.
  int FirstMatch(FrameView frame) {
    if (frame.stride != placedStride_) Place(frame.stride);
    for (int i = 0; i < count_; ++i) {
      const Candidate& c = candidates_[static_cast<std::size_t>(i)];
      if (Passes(c, frame)) return c.index;
    }
    return -1;
  }

 private:
  struct Candidate {
    const PreparedPattern* pattern;
    int index;  // digit, or 10 for the delimiter
    std::array<std::ptrdiff_t, 4 * kMaxProbeGroups> offsets;
  };

  // The probes first: a capture that does not show the pattern runs out of
  // its miss allowance there. Scores stay exact: a candidate that survives
  // them is counted in full.
  static bool Passes(const Candidate& c, FrameView frame) {
    const PreparedPattern& pattern = *c.pattern;
    int misses = 0;
    for (int g = 0; g < pattern.probeGroups; ++g) {
      misses += 16 - AgreeingBytesAt(frame.origin, c.offsets.data() + 4 * g,
                                     pattern.probes[static_cast<std::size_t>(g)].ranges);
      if (misses > pattern.allowedMisses) return false;
    }
    return CountPasses(pattern, frame);
  }

  void Place(std::ptrdiff_t stride);

  std::array<Candidate, 11> candidates_;  // written up to count_
  int count_ = 0;
  std::ptrdiff_t placedStride_ = -1;
};

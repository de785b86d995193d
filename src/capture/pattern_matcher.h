#pragma once
// The pattern set in the form the fast scan reads, prepared once per set.
//
// Every pattern row becomes byte ranges (capture values within 20 of each
// channel agree) in groups of four pixels, compared sixteen bytes at a time.
// Before the full count, a few probe pixels are tried: the pattern's own
// drawing, strokes few other patterns of the area share first. A capture
// that does not show the pattern runs out of the pattern's miss allowance
// there, after a handful of pixels. Scores stay exact: the allowance is
// derived from the integer score rule, and a pattern that survives the
// probes is counted in full.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/byte_ranges.h"
#include "capture/match_rule.h"
#include "capture/pixel_grid.h"
#include "persistence/pattern_set.h"

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
  std::vector<ByteRanges> rows;     // height × groupsPerRow
  std::vector<ProbeGroup> probes;   // tried before the full count
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
// the frame reaches past the picture.
class FrameSource {
 public:
  FrameSource(const PixelGrid& capture, int reach);
  FrameView At(int x) const {
    if (x + reach_ <= capture_.width) return {capture_.pixels.data() + x, capture_.width};
    return {tail_.data() + (x - tailStart_), tailStride_};
  }

  // A comparison reads at most this far right of X (four-pixel groups of
  // a 41-pixel row) and this far down.
  static constexpr int kMaxReach = 4 * ((kPatternCapacity + 3) / 4);

 private:
  const PixelGrid& capture_;
  int reach_;
  int tailStart_;
  int tailStride_;
  // On the stack: recognition runs often and the copy is small. Only the
  // part in use is written.
  std::array<std::uint32_t, 2 * kMaxReach * kPatternCapacity> tail_;
};


// Whether a prepared pattern can be compared with this capture at all.
inline bool Usable(const PreparedPattern& pattern, const PixelGrid& capture) {
  return pattern.allowedMisses >= 0 && pattern.width <= capture.width && pattern.height <= capture.height;
}

// Rows counted between two looks at the running totals.
inline constexpr int kRowsPerLook = 4;
static_assert(kRowsPerLook * ((kPatternCapacity + 3) / 4) <= 255, "a block must not overflow the byte counters");

// The byte ranges of pattern row y.
inline const ByteRanges* RowRanges(const PreparedPattern& pattern, int y) {
  return pattern.rows.data() + static_cast<std::ptrdiff_t>(y) * pattern.groupsPerRow;
}

// Whether the pattern's score at the frame is above the threshold; stops as
// soon as the answer is certain. Inline: it runs for every candidate.
inline bool Passes(const PreparedPattern& pattern, FrameView frame) {
  int misses = 0;
  for (const ProbeGroup& g : pattern.probes) {
    const std::uint32_t pixels[4] = {
        frame.origin[g.y[0] * frame.stride + g.x[0]], frame.origin[g.y[1] * frame.stride + g.x[1]],
        frame.origin[g.y[2] * frame.stride + g.x[2]], frame.origin[g.y[3] * frame.stride + g.x[3]]};
    misses += 16 - AgreeingBytesOf(pixels, g.ranges);
    if (misses > pattern.allowedMisses) return false;
  }
  // The probes were no proof either way: count everything, a few rows at a
  // time; the padding of every group always agrees.
  int agreeing = 0;
  misses = 0;
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

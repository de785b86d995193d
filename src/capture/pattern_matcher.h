#pragma once
// The pattern set in the form the fast scan reads. Each pattern pixel holds,
// per channel, the range of capture values that agree with it (within 20),
// laid out so that one 64-bit operation tests all three channels; the pixels
// are ordered most telling first (the pattern's own drawing, then pixels
// where few other patterns of the area agree), so that a capture that does
// not show the pattern runs out of its miss allowance after a few pixels.
// Scores stay exact: the allowance is derived from the integer score rule.

#include <array>
#include <cstdint>
#include <vector>

#include "capture/pixel_grid.h"
#include "persistence/pattern_set.h"

struct PreparedPixel {
  std::uint32_t offset = 0;      // x * columnHeight + y in a SpreadCapture
  std::uint64_t low = 0;         // lowest agreeing value of each channel lane
  std::uint64_t highMarked = 0;  // highest agreeing value of each lane, lane top bits set
};

struct PreparedPattern {
  int width = 0;
  int height = 0;
  int needed = 0;          // agreeing channel bytes that make a match
  int allowedMisses = -1;  // disagreeing bytes a match can afford; below 0: never matches
  std::vector<PreparedPixel> pixels;
};

struct PreparedArea {
  std::array<PreparedPattern, 11> patterns;  // digits 0 … 9, then the delimiter
  int cellWidth = 0;                         // the set's, for the jump after a digit
  int columnHeight = 0;                      // rows a spread capture must hold
  int columnSpan = 0;                        // columns a pattern can reach right of X
};

class PatternMatcher {
 public:
  explicit PatternMatcher(const PatternSet& set);
  const PreparedArea& Area(int area) const { return areas_[static_cast<std::size_t>(area)]; }

 private:
  std::array<PreparedArea, 2> areas_;
};

// One area's capture, column after column, each pixel spread into 16-bit
// channel lanes. Columns right of the picture are black.
class SpreadCapture {
 public:
  SpreadCapture(const PixelGrid& capture, int columns, int columnHeight);
  const std::uint64_t* Column(int x) const { return values_.data() + static_cast<std::size_t>(x) * height_; }

 private:
  int height_;
  std::vector<std::uint64_t> values_;
};

// Whether the pattern's score against the column is above the threshold;
// stops as soon as the answer is certain.
bool Passes(const PreparedPattern& pattern, const std::uint64_t* column);

// The exact score, every pixel counted (the report needs it).
int FullScore(const PreparedPattern& pattern, const std::uint64_t* column);

// Whether a prepared pattern can be compared with this capture at all.
bool Usable(const PreparedPattern& pattern, const PixelGrid& capture);

#pragma once
// Which columns of a capture hold a mark: ink, an outline, a shadow,
// anything that is not background. A column holds one where the step from
// a pixel to the one below stands out from the column's usual step: a
// stroke always has an edge across the rows, while a flat background, a
// gradient, and the edge of a bar filling behind the text (which runs down
// the whole column) have none. Reading and teaching both judge marks by this rule,
// so what one cuts the other finds.

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "base/pixel_grid.h"

// A step from one pixel to the one below lies on an edge when it differs
// from the column's usual step by more than this. Noise of ±8 per channel
// moves a step by up to 16 and a gradient gives every step of a column the
// same slope; an anti-aliased stroke of a legible digit is far above.
inline constexpr int kInkJump = 30;

// How far pixel `a` (0x00RRGGBB, the fourth byte ignored) lies from pixel
// `b`: the largest difference of a channel.
inline int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

// Whether pixel `a` stands out from background pixel `b`: a channel
// differs by more than the jump.
inline bool StandsOut(std::uint32_t a, std::uint32_t b) { return ChannelDistance(a, b) > kInkJump; }

// The median of the first `count` of `steps` (the upper one of an even
// count), `scratch` its working copy. Most columns of a flat background
// step by nothing most of the way down: that median needs no sorting.
inline int MedianStep(const std::array<int, 64>& steps, int count, std::array<int, 64>& scratch) {
  const int middle = count / 2;
  int below = 0;
  int none = 0;
  for (int i = 0; i < count; ++i) {
    below += steps[static_cast<std::size_t>(i)] < 0 ? 1 : 0;
    none += steps[static_cast<std::size_t>(i)] == 0 ? 1 : 0;
  }
  if (below <= middle && middle < below + none) return 0;
  std::copy_n(steps.begin(), count, scratch.begin());
  std::nth_element(scratch.begin(), scratch.begin() + middle, scratch.begin() + count);
  return scratch[static_cast<std::size_t>(middle)];
}

// The rows of column `x` that lie on an edge (bit y: pixel y or y + 1 of an
// edge between them), within rows 0 … rows − 1 (at most 63). `at(x, y)`
// gives a pixel.
// `strongest`, when given, gets the largest difference from the usual step
// found in the column (0 when it holds no edge).
template <typename PixelAt>
std::uint64_t EdgeRows(const PixelAt& at, int x, int rows, int* strongest = nullptr) {
  if (strongest != nullptr) *strongest = 0;
  rows = std::min(rows, 63);
  if (rows < 2) return 0;
  std::array<std::array<int, 64>, 3> steps;
  std::array<int, 64> sorted;
  // One pass down the column, each pixel read once for its three channels:
  // this runs for every column a reading looks at.
  std::array<int, 3> low{255, 255, 255};
  std::array<int, 3> high{-255, -255, -255};
  std::uint32_t above = at(x, 0);
  for (int y = 0; y + 1 < rows; ++y) {
    const std::uint32_t below = at(x, y + 1);
    for (std::size_t ch = 0; ch < 3; ++ch) {
      const int shift = 8 * static_cast<int>(ch);
      const int step = static_cast<int>((below >> shift) & 0xFF) - static_cast<int>((above >> shift) & 0xFF);
      steps[ch][static_cast<std::size_t>(y)] = step;
      low[ch] = std::min(low[ch], step);
      high[ch] = std::max(high[ch], step);
    }
    above = below;
  }
  // A channel whose steps all lie within the jump of each other holds no
  // edge, whatever its usual step: only the others are sorted (background,
  // the common case, costs no sorting at all).
  std::uint64_t bits = 0;
  for (std::size_t ch = 0; ch < 3; ++ch) {
    if (high[ch] - low[ch] <= kInkJump) continue;
    // The median step: a gradient's slope, or none; edges are the few.
    const int usual = MedianStep(steps[ch], rows - 1, sorted);
    for (int y = 0; y + 1 < rows; ++y) {
      const int off = std::abs(steps[ch][static_cast<std::size_t>(y)] - usual);
      if (off <= kInkJump) continue;
      bits |= std::uint64_t{3} << y;
      if (strongest != nullptr) *strongest = std::max(*strongest, off);
    }
  }
  return bits;
}

// The columns of a capture, judged on demand: a scan that ends early never
// pays for the rest of the area.
class InkColumns {
 public:
  // Columns 0 … width − 1 of `grid`, rows 0 … rows − 1 (cut to the grid's,
  // and to 63: bit 63 then marks a column not judged yet).
  InkColumns(const PixelGrid& grid, int width, int rows)
      : grid_(grid), width_(std::clamp(width, 0, grid.width)), rows_(std::clamp(rows, 0, std::min(grid.height, 63))) {
    rowsOf_.resize(width_);
    std::fill(rowsOf_.begin(), rowsOf_.end(), kUnknown);
  }

  int Width() const { return width_; }
  int Rows() const { return rows_; }

  // Bit y: row y of column x lies on an edge. 0 outside the columns.
  std::uint64_t RowsAt(int x) {
    if (x < 0 || x >= width_) return 0;
    std::uint64_t& rows = rowsOf_[x];
    if (rows == kUnknown) {
      rows = EdgeRows([this](int cx, int cy) { return grid_.At(cx, cy); }, x, rows_);
    }
    return rows;
  }
  bool Ink(int x) { return RowsAt(x) != 0; }

  // The first column at or after `from` with (or without) ink; Width() when none.
  int NextInk(int from) {
    for (int x = std::max(from, 0); x < width_; ++x) {
      if (Ink(x)) return x;
    }
    return width_;
  }
  int NextBlank(int from) {
    for (int x = std::max(from, 0); x < width_; ++x) {
      if (!Ink(x)) return x;
    }
    return width_;
  }
  // Whether column x is the faint edge of a glyph beside it: one column of
  // ink, one blank column from a mark, barely above the ink's threshold and
  // no taller than a quarter of the digits' `digitRows`, or of any height
  // when fainter still (a bracket's anti-aliased side). Noise shows an
  // anti-aliased glyph's faintest column in one capture and hides it in the
  // next, so it is neither a glyph of its own nor part of one. A digit one
  // column wide spans the digits' rows in full ink, and so does a point;
  // the area's first column may hold a digit the edge cut.
  bool FaintEdge(int x, int digitRows) {
    if (x <= 0 || x >= width_ || !Ink(x) || Ink(x - 1) || Ink(x + 1) || (!Ink(x - 2) && !Ink(x + 2))) return false;
    return Faint(x, digitRows);
  }

  // How many columns from x on (none, one or two: a faint column drawn at
  // twice the size) are as faint as such an edge with ink after them,
  // where a glyph is looked for: its anti-aliased side, which a touching
  // neighbour's cell may have taken when it was taught.
  int FaintLeadingColumns(int x, int digitRows) {
    const int count = FaintRun(x, width_ - 1, digitRows);
    return count > 0 && Ink(x + count) ? count : 0;
  }

  // How many columns from x on, right after a glyph read (none, one or
  // two), are as faint as such an edge with background after them: that
  // glyph's anti-aliased side, which noise showed here and hid where the
  // glyph was taught.
  int FaintTrailingColumns(int x, int digitRows) {
    if (x <= 0 || !Ink(x - 1)) return 0;
    const int count = FaintRun(x, width_, digitRows);
    return count > 0 && (x + count >= width_ || !Ink(x + count)) ? count : 0;
  }

  // The first column at or after `from` with ink that is no faint edge.
  int NextMark(int from, int digitRows) {
    int x = NextInk(from);
    while (FaintEdge(x, digitRows)) x = NextInk(x + 1);
    return x;
  }

  // The rows of columns [from, to) together.
  std::uint64_t RowsOf(int from, int to) {
    std::uint64_t rows = 0;
    for (int x = from; x < to; ++x) rows |= RowsAt(x);
    return rows;
  }

 private:
  // Barely above the ink's threshold and no taller than a quarter of the
  // digits' rows, or of any height when fainter still.
  bool Faint(int x, int digitRows) {
    int strongest = 0;
    const std::uint64_t rows = EdgeRows([this](int cx, int cy) { return grid_.At(cx, cy); }, x, rows_, &strongest);
    const int span = 64 - std::countl_zero(rows) - std::countr_zero(rows);
    return strongest <= 2 * kInkJump && (4 * span <= digitRows || 2 * strongest <= 3 * kInkJump);
  }

  // How many columns of ink from x on, up to two and short of `end`, are
  // Faint.
  int FaintRun(int x, int end, int digitRows) {
    int count = 0;
    while (count < 2 && x + count < end && Ink(x + count) && Faint(x + count, digitRows)) ++count;
    return count;
  }

  static constexpr std::uint64_t kUnknown = ~std::uint64_t{0};
  const PixelGrid& grid_;
  int width_;
  int rows_;
  QVarLengthArray<std::uint64_t, 256> rowsOf_;
};

// The columns at one side of a run of ink [from, to) that hold ink only
// from row `middle` down (where a comma joined to a glyph stands): where
// they meet the rest of the run, and their rows together.
struct LowEnd {
  enum class Side { Left, Right };
  int at = 0;
  std::uint64_t rows = 0;
};

inline LowEnd LowColumnsAtEnd(InkColumns& ink, int from, int to, int middle, LowEnd::Side side) {
  const bool left = side == LowEnd::Side::Left;
  LowEnd end{left ? from : to, 0};
  while (left ? end.at < to : end.at > from) {
    const std::uint64_t rows = ink.RowsAt(left ? end.at : end.at - 1);
    if (std::countr_zero(rows) < middle) break;
    end.rows |= rows;
    end.at += left ? 1 : -1;
  }
  return end;
}

// Where a comma drawn close to the glyph after it joins that glyph's run
// of ink [from, to): the run's first columns hold ink only below the
// line's `middle` row, from above its `foot` (the comma's head on the
// line) to below it, where no digit reaches (its tail); at most half the
// line's `height` wide, with a glyph of two columns or more after them.
// The corner of a bracket's foot beside its stem lies below the line
// alone. Where they end; none when the run begins otherwise.
inline std::optional<int> CommaBeforeGlyphAt(InkColumns& ink, int from, int to, int middle, int foot, int height) {
  const LowEnd low = LowColumnsAtEnd(ink, from, to, middle, LowEnd::Side::Left);
  const bool comma =
      low.rows != 0 && std::countr_zero(low.rows) < foot && 63 - std::countl_zero(low.rows) > foot + 1;
  if (!comma || to - low.at < 2 || low.at - from > std::max(2, height / 2)) return std::nullopt;
  return low.at;
}

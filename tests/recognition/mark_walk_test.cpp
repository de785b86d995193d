// Where the number ends after its last digit.
#include "recognition/mark_walk.h"

#include <gtest/gtest.h>

namespace {

// A gray background 60 columns by 24 rows, the digits' rows 2 … 21, with
// marks drawn in black: a speck two rows high at column 30, a glyph as tall
// as the digits at column 40.
PixelGrid Capture() {
  PixelGrid grid{60, 24, std::vector<std::uint32_t>(60 * 24, 0x808080)};
  const auto mark = [&grid](int x, int top, int bottom) {
    const auto stride = static_cast<std::size_t>(grid.width);
    for (int y = top; y <= bottom; ++y) {
      grid.pixels[(static_cast<std::size_t>(y) * stride) + static_cast<std::size_t>(x)] = 0;
    }
  };
  mark(30, 11, 12);
  mark(40, 2, 21);
  mark(41, 2, 3);
  return grid;
}

// Text was taught far off: between the number's own gap and that text, only
// a glyph as tall as the digits is one more digit; noise and a point end the
// number as the text would.
TEST(TextMayBegin, PastTheNumbersOwnGapOnlyAGlyphAsTallAsTheDigitsGoesOn) {
  const PixelGrid grid = Capture();
  InkColumns ink(grid, grid.width, grid.height);
  AreaShape shape;
  shape.digitTop = 2;
  shape.digitBottom = 21;
  shape.numberGap = 8;
  shape.wideGap = 38;
  EXPECT_TRUE(TextMayBegin(ink, shape, 10, 30)) << "a speck past the number's own gap";
  EXPECT_FALSE(TextMayBegin(ink, shape, 10, 40)) << "a glyph short of where text was taught";
  EXPECT_FALSE(TextMayBegin(ink, shape, 25, 30)) << "a speck within the number's own gap";
  EXPECT_TRUE(TextMayBegin(ink, shape, 2, 40)) << "a glyph as far off as text was taught";
  // Where no text was taught (wide and own gap alike), as before.
  shape.wideGap = shape.numberGap;
  EXPECT_TRUE(TextMayBegin(ink, shape, 10, 40));
}

}  // namespace

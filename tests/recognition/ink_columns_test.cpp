// Which columns hold a mark, and where a comma joins the glyph after it.
#include "recognition/ink_columns.h"

#include <gtest/gtest.h>

namespace {

// A gray background 12 columns by 16 rows; the line's middle is row 6 and
// its foot row 11. Columns 0 … 2 hold ink on rows from … to, columns 3 …
// 6 a glyph of the line's full height.
PixelGrid LeadThenGlyph(int from, int to) {
  PixelGrid grid{12, 16, std::vector<std::uint32_t>(12 * 16, 0x808080)};
  const auto ink = [&grid](int x, int top, int bottom) {
    const auto stride = static_cast<std::size_t>(grid.width);
    for (int y = top; y <= bottom; ++y) {
      grid.pixels[(static_cast<std::size_t>(y) * stride) + static_cast<std::size_t>(x)] = 0;
    }
  };
  for (int x = 0; x < 3; ++x) ink(x, from, to);
  for (int x = 3; x < 7; ++x) ink(x, 2, 11);
  return grid;
}

std::optional<int> CommaBefore(const PixelGrid& grid) {
  InkColumns ink(grid, grid.width, grid.height);
  return CommaBeforeGlyphAt(ink, 0, 7, 6, 11, 10);
}

// A comma's head stands on the line and its tail below it; a 1's foot
// serif on the line alone, a bracket's foot corner below it alone, and a
// glyph's own side reaches above the middle.
TEST(CommaBeforeGlyphAt, OnlyAHeadOnTheLineWithATailBelowItIsAComma) {
  EXPECT_EQ(CommaBefore(LeadThenGlyph(9, 13)), 3);
  EXPECT_EQ(CommaBefore(LeadThenGlyph(10, 11)), std::nullopt) << "a foot serif";
  EXPECT_EQ(CommaBefore(LeadThenGlyph(12, 13)), std::nullopt) << "a bracket's foot";
  EXPECT_EQ(CommaBefore(LeadThenGlyph(4, 13)), std::nullopt) << "the glyph's own side";
}

}  // namespace

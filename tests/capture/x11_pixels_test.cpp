// Converting X images: the byte orders and depths a server may hand out.
#include <gtest/gtest.h>

#include <vector>

#include "capture/x11/x11_pixels.h"

namespace {

TEST(ZPixmapStride, RowsArePaddedToTheScanlinePad) {
  EXPECT_EQ(ZPixmapStride(3, 32, 32), 12);
  EXPECT_EQ(ZPixmapStride(3, 24, 32), 12);  // 9 bytes padded to 12
  EXPECT_EQ(ZPixmapStride(5, 16, 32), 12);
  EXPECT_EQ(ZPixmapStride(0, 32, 32), 0);
}

TEST(ConvertZPixmap, ThirtyTwoBitsLeastSignificantByteFirst) {
  // Pixel 0 pure red, pixel 1 pure blue; the fourth byte (padding) is noise.
  const std::vector<std::uint8_t> data = {0x00, 0x00, 0xFF, 0x7F, 0xFF, 0x00, 0x00, 0x12};
  ZPixmapLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bytesPerLine = 8;
  const QImage image = ConvertZPixmap(data.data(), data.size(), layout);
  ASSERT_EQ(image.size(), QSize(2, 1));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(ConvertZPixmap, ThirtyTwoBitsMostSignificantByteFirst) {
  const std::vector<std::uint8_t> data = {0x00, 0x12, 0x34, 0x56};
  ZPixmapLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bytesPerLine = 4;
  layout.msbFirst = true;
  EXPECT_EQ(ConvertZPixmap(data.data(), data.size(), layout).pixel(0, 0), qRgb(0x12, 0x34, 0x56));
}

TEST(ConvertZPixmap, PackedTwentyFourBitsWithPaddedRows) {
  // Two rows of one pixel, each row padded to four bytes.
  const std::vector<std::uint8_t> data = {0x30, 0x20, 0x10, 0xEE, 0x03, 0x02, 0x01, 0xEE};
  ZPixmapLayout layout;
  layout.width = 1;
  layout.height = 2;
  layout.bitsPerPixel = 24;
  layout.bytesPerLine = ZPixmapStride(1, 24, 32);
  const QImage image = ConvertZPixmap(data.data(), data.size(), layout);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
  EXPECT_EQ(image.pixel(0, 1), qRgb(0x01, 0x02, 0x03));
}

TEST(ConvertZPixmap, SixteenBitRgb565ScalesToFullRange) {
  const std::vector<std::uint8_t> data = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x00};
  ZPixmapLayout layout;
  layout.width = 4;
  layout.height = 1;
  layout.bitsPerPixel = 16;
  layout.bytesPerLine = 8;
  layout.redMask = 0xF800;
  layout.greenMask = 0x07E0;
  layout.blueMask = 0x001F;
  const QImage image = ConvertZPixmap(data.data(), data.size(), layout);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 0));
}

TEST(ConvertZPixmap, ShortOrNonsensicalDataGivesNoImage) {
  const std::vector<std::uint8_t> data(15, 0);
  ZPixmapLayout layout;
  layout.width = 2;
  layout.height = 2;
  layout.bytesPerLine = 8;
  EXPECT_TRUE(ConvertZPixmap(data.data(), data.size(), layout).isNull());  // needs 16 bytes
  EXPECT_TRUE(ConvertZPixmap(nullptr, 0, layout).isNull());
  layout.bytesPerLine = 4;  // narrower than a row
  EXPECT_TRUE(ConvertZPixmap(data.data(), data.size(), layout).isNull());
  layout.bytesPerLine = 8;
  layout.bitsPerPixel = 12;
  EXPECT_TRUE(ConvertZPixmap(data.data(), data.size(), layout).isNull());
  layout.bitsPerPixel = 32;
  layout.redMask = 0;
  EXPECT_TRUE(ConvertZPixmap(data.data(), data.size(), layout).isNull());
}

TEST(ConvertZPixmap, TheLastRowNeedsNoPadding) {
  // Two rows of one 24-bit pixel: the padding of the last row may be missing.
  const std::vector<std::uint8_t> data = {1, 2, 3, 0, 4, 5, 6};
  ZPixmapLayout layout;
  layout.width = 1;
  layout.height = 2;
  layout.bitsPerPixel = 24;
  layout.bytesPerLine = 4;
  EXPECT_EQ(ConvertZPixmap(data.data(), data.size(), layout).pixel(0, 1), qRgb(6, 5, 4));
}

}  // namespace

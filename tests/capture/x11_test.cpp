// Converting X images in the byte orders and depths a server may hand out,
// and reading window titles and frame extents as clients and window
// managers store them.
#include <gtest/gtest.h>

#include <vector>

#include "capture/x11/x11_pixels.h"
#include "capture/x11/x11_properties.h"

namespace {

TEST(ConvertZPixmap, EachDepthAndByteOrderReadsItsPixels) {
  struct Case {
    std::vector<std::uint8_t> data;
    ZPixmapLayout layout;
    std::vector<QRgb> pixels;  // row by row; none: no image
  };
  const Case cases[] = {
      // {width, height, bits per pixel, bytes per line, most significant byte first}
      // The fourth byte of a 32-bit pixel is padding: noise.
      {{0x00, 0x00, 0xFF, 0x7F, 0xFF, 0x00, 0x00, 0x12}, {2, 1, 32, 8}, {qRgb(255, 0, 0), qRgb(0, 0, 255)}},
      {{0x00, 0x12, 0x34, 0x56}, {1, 1, 32, 4, true}, {qRgb(0x12, 0x34, 0x56)}},
      // 24 bits, rows padded to four bytes; the last row's padding may be missing.
      {{0x30, 0x20, 0x10, 0xEE, 0x03, 0x02, 0x01}, {1, 2, 24, 4}, {qRgb(0x10, 0x20, 0x30), qRgb(1, 2, 3)}},
      {{0x10, 0x20, 0x30, 0x01, 0x02, 0x03}, {2, 1, 24, 8, true}, {qRgb(0x10, 0x20, 0x30), qRgb(1, 2, 3)}},
      {std::vector<std::uint8_t>(15), {2, 2, 32, 8}, {}},  // needs 16 bytes
      {std::vector<std::uint8_t>(16), {2, 2, 32, 4}, {}},  // narrower than a row
      {std::vector<std::uint8_t>(16), {2, 2, 12, 8}, {}},
  };
  for (const Case& c : cases) {
    const QImage image = ConvertZPixmap(c.data.data(), c.data.size(), c.layout);
    std::vector<QRgb> read;  // row by row
    for (int p = 0; p < image.width() * image.height(); ++p) {
      read.push_back(image.pixel(p % image.width(), p / image.width()));
    }
    EXPECT_EQ(read, c.pixels) << c.layout.bitsPerPixel << " bits, " << c.data.size() << " bytes";
  }
}

TEST(WindowProperties, TitlesDecodeAndFrameExtentsGrowTheClient) {
  EXPECT_EQ(DecodeTitle("メイプル", TitleEncoding::Utf8), QString::fromUtf8("メイプル"));
  EXPECT_EQ(DecodeTitle("Caf\xE9", TitleEncoding::Latin1), QString::fromUtf8("Café"));
  EXPECT_EQ(DecodeTitle("Caf\xE9", TitleEncoding::CompoundText), QString::fromUtf8("Café"));
  EXPECT_EQ(DecodeTitle(QByteArray("MapleStory\0\0", 12), TitleEncoding::Latin1), QString("MapleStory"));
  // Extents are left, right, top, bottom; anything but four plausible values is ignored.
  EXPECT_EQ(GrowByFrameExtents(QRect(105, 130, 800, 600), {5, 6, 30, 7}), QRect(100, 100, 811, 637));
  EXPECT_EQ(GrowByFrameExtents(QRect(0, 0, 10, 10), {0, 0, 0, 0}), QRect(0, 0, 10, 10));
  EXPECT_FALSE(GrowByFrameExtents(QRect(0, 0, 10, 10), {1, 2, 3}));
  EXPECT_FALSE(GrowByFrameExtents(QRect(0, 0, 10, 10), {0xFFFFFFFFu, 0, 0, 0}));
}

TEST(PresentOutOfSight, MinimisedOrOnAnotherDesktopIsThereWithdrawnOrUnmanagedIsNot) {
  using List = std::optional<std::vector<std::uint32_t>>;
  constexpr std::uint32_t kHidden = 345;
  const std::tuple<const char*, List, List, bool> cases[] = {
      {"iconic", List{{3, 0}}, List{}, true},
      {"normal, frame unmapped (another desktop)", List{{1, 0}}, List{{7}}, true},
      {"withdrawn", List{{0, 0}}, List{}, false},
      {"withdrawn but marked hidden", List{{0, 0}}, List{{9, kHidden}}, true},
      {"nobody manages it", List{}, List{}, false},
      {"empty state", List{std::vector<std::uint32_t>{}}, List{{8}}, false},
  };
  for (const auto& [name, wmState, netWmState, present] : cases) {
    EXPECT_EQ(PresentOutOfSight(wmState, netWmState, kHidden), present) << name;
  }
  EXPECT_FALSE(PresentOutOfSight(List{}, List{{0}}, 0)) << "no hidden atom on this server";
}

}  // namespace

#include "persistence/bmp_structure.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// `v` little-endian in `bytes` bytes from `at` on.
void Put(QByteArray& b, int at, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// A bitmap with a 40-byte header and `palette` grey entries, then `pixels`
// as given (rows or an RLE stream).
QByteArray Bitmap(int width, int height, int bits, std::uint32_t compression, int palette,
                  const std::vector<std::uint8_t>& pixels) {
  QByteArray b(14 + 40 + 4 * palette, '\0');
  b.replace(0, 2, "BM");
  Put(b, 10, static_cast<std::uint32_t>(b.size()));
  Put(b, 14, 40);
  Put(b, 18, static_cast<std::uint32_t>(width));
  Put(b, 22, static_cast<std::uint32_t>(height));
  Put(b, 26, 1, 2);
  Put(b, 28, static_cast<std::uint32_t>(bits), 2);
  Put(b, 30, compression);
  Put(b, 46, static_cast<std::uint32_t>(palette));
  for (int i = 0; i < palette; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = static_cast<char>(i * 40);
  for (const std::uint8_t p : pixels) b.append(static_cast<char>(p));
  Put(b, 2, static_cast<std::uint32_t>(b.size()));
  return b;
}

// 32 bits with the three colour masks after the header, then two pixels.
QByteArray BitFields(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  QByteArray b = Bitmap(2, 1, 32, 3, 0, std::vector<std::uint8_t>(20, 0x40));
  for (int i = 0; i < 3; ++i) Put(b, 54 + 4 * i, std::array{red, green, blue}[static_cast<std::size_t>(i)]);
  Put(b, 10, 14 + 40 + 12);
  return b;
}

// A delivered default with one header byte changed, as a damaged copy of it
// would be.
QByteArray DefaultWith(const char* name, int at, std::uint32_t value, bool word = false) {
  QFile file(QStringLiteral(TALLYMETER_SOURCE_DIR "/system/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray b = file.readAll();
  Put(b, at, value, word ? 4 : 1);
  return b;
}

TEST(BmpStructure, OnlyFilesThatHoldWhatTheirHeaderPromisesAreSound) {
  QImage picture(7, 9, QImage::Format_RGB32);
  picture.fill(qRgb(10, 200, 30));
  QByteArray good24;
  QBuffer buffer(&good24);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "BMP"));
  // 3 x 2 at 8 bits: rows padded to 4 bytes.
  const std::vector<std::uint8_t> rows8 = {0, 1, 2, 0, 2, 1, 0, 0};
  // RLE8 3 x 2: a run, an end of row, three literal pixels (padded), the end.
  const std::vector<std::uint8_t> rle8 = {3, 1, 0, 0, 0, 3, 2, 1, 0, 0, 0, 1};
  QByteArray pastEnd = good24;
  Put(pastEnd, 10, static_cast<std::uint32_t>(good24.size() + 1));
  QByteArray unknownHeader = good24;
  Put(unknownHeader, 14, 99);

  const std::pair<const char*, QByteArray> sound[] = {
      {"24 bits as Qt writes it", good24},
      {"8 bits with a palette", Bitmap(3, 2, 8, 0, 3, rows8)},
      {"RLE8", Bitmap(3, 2, 8, 1, 3, rle8)},
      {"RLE4", Bitmap(3, 1, 4, 2, 2, {3, 0x10, 0, 1})},
      {"top-down rows", Bitmap(3, -2, 8, 0, 3, rows8)},
      {"two bytes of padding after the rows", good24 + QByteArray(2, '\0')},
      {"RLE8 with an end of row before the end mark", Bitmap(3, 2, 8, 1, 3, {3, 1, 0, 0, 3, 2, 0, 0, 0, 1})},
      {"32 bits with colour masks", BitFields(0xFF0000, 0xFF00, 0xFF)},
      {"a delivered default as it is", DefaultWith("Pattern11.bmp", 22, 9)},
  };
  for (const auto& [name, bytes] : sound) {
    EXPECT_TRUE(SoundBmp(bytes)) << name;
    EXPECT_FALSE(QImage::fromData(bytes, "BMP").isNull()) << name << " is not even a bitmap to Qt";
  }

  const std::pair<const char*, QByteArray> damaged[] = {
      {"cut short", good24.left(good24.size() - 10)},
      {"pixel offset past the end", pastEnd},
      {"unknown header", unknownHeader},
      {"index beyond the palette", Bitmap(3, 2, 8, 0, 2, rows8)},
      {"palette larger than the depth allows", Bitmap(3, 2, 1, 0, 3, {0, 0, 0, 0, 0, 0, 0, 0})},
      {"RLE run past the row", Bitmap(3, 2, 8, 1, 3, {4, 1, 0, 1})},
      {"RLE rows past the picture", Bitmap(3, 1, 8, 1, 3, {3, 1, 0, 0, 3, 1, 0, 1})},
      {"RLE move past the picture", Bitmap(3, 2, 8, 1, 3, {0, 2, 1, 2, 0, 1})},
      {"RLE literal cut short", Bitmap(3, 2, 8, 1, 3, {0, 3, 2})},
      {"RLE without its end mark", Bitmap(3, 2, 8, 1, 3, {3, 1, 0, 0, 3, 1})},
      {"RLE index beyond the palette", Bitmap(3, 2, 8, 1, 2, {3, 2, 0, 1})},
      {"RLE4 second index beyond the palette", Bitmap(3, 1, 4, 2, 2, {3, 0x12, 0, 1})},
      {"RLE8 at 4 bits", Bitmap(3, 2, 4, 1, 3, rle8)},
      {"empty", QByteArray()},
      {"no width", Bitmap(0, 2, 24, 0, 0, {})},
      // Headers that lie in one field about a file that is otherwise whole.
      {"Pattern11 height 9 -> 5", DefaultWith("Pattern11.bmp", 22, 5)},
      {"Pattern05 width 9 -> 5", DefaultWith("Pattern05.bmp", 18, 5)},
      {"Pattern05 height 13 -> 6", DefaultWith("Pattern05.bmp", 22, 6)},
      {"Pattern02 width 9 -> 8", DefaultWith("Pattern02.bmp", 18, 8)},
      {"Pattern01 pixel offset one row on", DefaultWith("Pattern01.bmp", 10, 54 + 28, true)},
      {"RLE8 ending after a third of the rows", Bitmap(3, 3, 8, 1, 3, {3, 1, 0, 1})},
      {"RLE8 row ended early", Bitmap(3, 2, 8, 1, 3, {2, 1, 0, 0, 3, 1, 0, 1})},
      {"32 bits with all colour masks 0", BitFields(0, 0, 0)},
      {"32 bits with overlapping masks", BitFields(0xFF0000, 0xFFFF00, 0xFF)},
  };
  for (const auto& [name, bytes] : damaged) EXPECT_FALSE(SoundBmp(bytes)) << name;
}

}  // namespace

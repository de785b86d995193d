// Converting the held pictures into the pattern set, and the files keeping
// the exact colours.
#include <QFile>
#include <random>

#include "pattern_files_fixture.h"

namespace {

using namespace pattern_files_fixture;

PatternImages Uniform(int width, int height) {
  PatternImages images;
  for (QImage& d : images.digits) d = Picture(width, height, 1);
  for (QImage& d : images.delimiters) d = Picture(width, height, 2);
  return images;
}

TEST(ConvertPatterns, CellSizesCountTheDelimiterAndAreRecomputedFromScratch) {
  PatternImages images = Uniform(9, 10);
  images.delimiters[0] = Picture(12, 6, 3);
  images.digits[14] = Picture(5, 11, 4);
  PatternSet set;
  ASSERT_TRUE(ConvertPatterns(images, set));
  EXPECT_EQ(set.cellWidth[0], 12);
  EXPECT_EQ(set.cellHeight[0], 10);
  EXPECT_EQ(set.cellWidth[1], 9);
  EXPECT_EQ(set.cellHeight[1], 11);

  // Smaller pictures give smaller cells: nothing carries over.
  ASSERT_TRUE(ConvertPatterns(Uniform(4, 5), set));
  EXPECT_EQ(set.cellWidth, (std::array<std::int32_t, 2>{4, 4}));
  EXPECT_EQ(set.cellHeight, (std::array<std::int32_t, 2>{5, 5}));
}

TEST(ConvertPatterns, PixelsKeepBlueGreenRedAtTheirPlace) {
  PatternImages images = Uniform(3, 3);
  images.digits[13] = QImage(41, 41, QImage::Format_RGB32);
  images.digits[13].fill(qRgb(1, 2, 3));
  images.digits[13].setPixel(40, 0, qRgb(200, 100, 50));
  images.digits[13].setPixel(0, 40, qRgb(7, 8, 9));
  PatternSet set;
  ASSERT_TRUE(ConvertPatterns(images, set));
  const Pattern& p = set.digitPatterns[13];
  EXPECT_EQ(p.width, 41);
  EXPECT_EQ(p.height, 41);
  EXPECT_EQ(p.pixels[40][0].red, 200);
  EXPECT_EQ(p.pixels[40][0].green, 100);
  EXPECT_EQ(p.pixels[40][0].blue, 50);
  EXPECT_EQ(p.pixels[0][40].blue, 9);
  EXPECT_EQ(p.pixels[5][5].red, 1);

  images.digits[13] = QImage(1, 42, QImage::Format_RGB32);
  EXPECT_FALSE(ConvertPatterns(images, set));
}

using PatternFileColours = PatternFilesTest;

TEST_F(PatternFileColours, SavedFilesLoadBackToTheSameColoursAs24BitBitmaps) {
  std::mt19937 random(7);
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    QImage image(1 + slot, 41 - slot, slot % 2 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    }
    (slot < 20 ? images.digits[slot] : images.delimiters[slot - 20]) = image;
  }
  const PatternImages held = images;
  ASSERT_TRUE(Run("SAVE").notices.empty());
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    const QImage& original = slot < 20 ? held.digits[slot] : held.delimiters[slot - 20];
    EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(slot)), original)) << slot;
    const QByteArray bytes = folder.Read("Pattern/" + PatternFileName(slot));
    ASSERT_GT(bytes.size(), 30);
    EXPECT_EQ(bytes[28], 24) << "bits per pixel of " << slot;
  }
  // And the read-back set holds exactly those colours.
  images = {};
  PatternSet fromFiles;
  ASSERT_TRUE(PatternFiles("READ", images, fromFiles, folder.Path(), now).notices.empty());
  const QRgb expected = held.digits[19].pixel(0, 21);
  EXPECT_EQ(fromFiles.digitPatterns[19].pixels[0][21].red, qRed(expected));
  EXPECT_EQ(fromFiles.digitPatterns[19].pixels[0][21].green, qGreen(expected));
  EXPECT_EQ(fromFiles.digitPatterns[19].pixels[0][21].blue, qBlue(expected));
}

}  // namespace

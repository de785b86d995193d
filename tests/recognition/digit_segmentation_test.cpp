// Teaching digits from captures: the cells found for the typed numbers,
// kept as patterns through the pattern store, read those captures and other
// numbers of the same font; captures the typed number does not fit are
// refused.
#include <gtest/gtest.h>

#include "recognition/area_reading.h"
#include "recognition/digit_segmentation.h"
#include "dialogs/pattern_rules.h"
#include "persistence/pattern_store.h"
#include "support/digit_fonts.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

struct FontCase {
  const char* name;
  PixelFont font;
  CaptureLook look;
  std::vector<QString> taught;  // captures taught one after the other
  std::vector<QString> others;  // never taught, read afterwards
};

CaptureLook Noisy(int noise) {
  CaptureLook look;
  look.noise = noise;
  return look;
}

CaptureLook Gradient(QColor from, QColor to, bool across, int noise) {
  CaptureLook look;
  look.background = from;
  look.backgroundEnd = to;
  look.gradientAcross = across;
  look.noise = noise;
  return look;
}

std::vector<FontCase> Cases() {
  CaptureLook trailing = Gradient(QColor(10, 20, 60), QColor(90, 110, 170), false, 8);
  trailing.trailer = true;
  CaptureLook tight = Noisy(8);
  tight.left = 0;
  return {
      {"bold, 1-pixel gap, noise", BoldFont(8), Noisy(8), {"152", "3", "1987604"}, {"40", "1999", "123456789", "7"}},
      {"bold, 2-pixel gap, steep vertical gradient, text after", BoldFont(9), trailing, {"1234567890"}, {"13", "98765"}},
      {"small, 1-pixel gap, gradient across", SmallFont(6), Gradient(QColor(30, 30, 90), QColor(42, 42, 102), true, 2),
       {"1234567890"}, {"0987654321", "5"}},
      {"small, no gap, noise", SmallFont(5), Noisy(8), {"1234567890"}, {"5", "2468", "13579", "1000"}},
      {"small, no gap, first digit at the edge", SmallFont(5), tight, {"8123", "4567", "90"}, {"9081726354"}},
      {"tiny, 1-pixel gap, vertical gradient", TinyFont(4), Gradient(QColor(200, 200, 120), QColor(160, 150, 80), false, 8),
       {"10", "23", "456", "7890"}, {"99", "314159"}},
      {"tiny, 2-pixel gap, noise", TinyFont(5), Noisy(8), {"1234567890"}, {"808", "7"}},
  };
}

// The cells of every taught capture go into the pictures as a paste would; the
// pictures are saved and read back through the pattern store.
PatternSet TeachAndReload(const FontCase& c, const QString& folder) {
  AreaPictures pictures;
  int pitch = 0;
  unsigned seed = 1;
  for (const QString& number : c.taught) {
    CaptureLook look = c.look;
    look.seed = seed++;
    const QImage capture = DrawCapture(c.font, number, look);
    const Segmentation found = FindDigitCells(capture, number, pitch);
    EXPECT_EQ(found.refusal, SegmentationRefusal::None) << number.toStdString();
    if (found.refusal != SegmentationRefusal::None) continue;
    const DigitCells& cells = found.cells;
    EXPECT_EQ(cells.bounds[1] - cells.bounds[0], c.font.pitch) << number.toStdString();
    pitch = cells.bounds[1] - cells.bounds[0];
    for (int i = 0; i < cells.CellCount(); ++i) {
      const int slot = i < number.size() ? number[i].digitValue() : 10;
      pictures[static_cast<std::size_t>(slot)] = SlotAfterClick(pictures[static_cast<std::size_t>(slot)], CellPicture(capture, cells, i));
    }
  }
  const std::optional<int> height = CommonHeight(pictures);
  EXPECT_TRUE(height.has_value()) << "not every digit was taught";
  if (!height) return {};
  for (QImage& picture : pictures) picture = FitToHeight(picture, *height);
  PatternImages images;
  StoreArea(images, 0, pictures);
  StoreArea(images, 1, pictures);
  PatternSet set;
  EXPECT_TRUE(PatternFiles(QStringLiteral("SAVE"), images, set, folder).notices.empty());
  PatternImages loaded;
  PatternSet reloaded;
  EXPECT_TRUE(PatternFiles(QStringLiteral("READ"), loaded, reloaded, folder).notices.empty());
  return reloaded;
}

TEST(DigitSegmentation, TaughtCellsReadTheirCapturesAndOtherNumbersOfTheFont) {
  for (const FontCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const PatternSet set = TeachAndReload(c, folder.Path());
    unsigned seed = 100;
    std::vector<QString> all = c.taught;
    all.insert(all.end(), c.others.begin(), c.others.end());
    for (const QString& number : all) {
      CaptureLook look = c.look;
      look.seed = seed++;
      // A level of ten digits does not fit 32 bits: never read.
      for (int area = number.size() < 10 ? 0 : 1; area < 2; ++area) {
        EXPECT_EQ(ReadAreaCaption(DrawCapture(c.font, number, look), area, set), number) << "area " << area;
      }
    }
  }
}

TEST(DigitSegmentation, RefusesWhatTheTypedNumberDoesNotFit) {
  const PixelFont font = BoldFont(8);
  const CaptureLook look = Noisy(8);
  CaptureLook invisible = look;
  invisible.ink = invisible.background;
  CaptureLook low = look;
  low.top = 45;
  KnownDigits knownTwo;
  knownTwo[2] = CellPicture(DrawCapture(font, "2", look), FindDigitCells(DrawCapture(font, "2", look), "2").cells, 0);
  struct Row {
    const char* name;
    QImage capture;
    QString typed;
    KnownDigits known;
    SegmentationRefusal expected;
  };
  const std::vector<Row> rows = {
      {"nothing typed", DrawCapture(font, "152", look), "", {}, SegmentationRefusal::NotADigitString},
      {"a letter", DrawCapture(font, "152", look), "15a", {}, SegmentationRefusal::NotADigitString},
      {"full-width digits", DrawCapture(font, "152", look), QStringLiteral("１５２"), {}, SegmentationRefusal::NotADigitString},
      {"background only", DrawCapture(font, "152", invisible), "152", {}, SegmentationRefusal::NothingAtTheTop},
      {"digits below the top rows", DrawCapture(font, "152", low), "152", {}, SegmentationRefusal::NothingAtTheTop},
      {"one digit too many", DrawCapture(font, "152", look), "1520", {}, SegmentationRefusal::CountDoesNotFit},
      {"far too many", DrawCapture(font, "152", look), "1234567", {}, SegmentationRefusal::CountDoesNotFit},
      {"two alike typed different", DrawCapture(font, "1522", look), "1523", {}, SegmentationRefusal::DifferentDigitsAlike},
      {"one digit typed for two", DrawCapture(font, "1523", look), "1522", {}, SegmentationRefusal::RepeatedDigitDiffers},
      {"one too few, the last one known", DrawCapture(font, "152", look), "15", knownTwo,
       SegmentationRefusal::DelimiterLooksLikeADigit},
      {"a known digit typed as another", DrawCapture(font, "152", look), "153", knownTwo,
       SegmentationRefusal::DifferentDigitsAlike},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FindDigitCells(row.capture, row.typed, 0, row.known).refusal, row.expected) << row.name;
  }
  EXPECT_EQ(FindDigitCells(DrawCapture(font, "152", look), "152", 0, knownTwo).refusal, SegmentationRefusal::None);
  EXPECT_EQ(FindDigitCells(QImage(), "1").refusal, SegmentationRefusal::NothingAtTheTop);
}

TEST(DigitSegmentation, BoundariesMoveByAPixelWhileEveryCellKeepsItsColumns) {
  DigitCells cells;
  cells.digits = "12";
  cells.bounds = {1, 9, 17, 21};
  cells.height = 13;
  EXPECT_TRUE(MoveBoundary(cells, 1, +1, 30));
  EXPECT_EQ(cells.bounds, (std::vector<int>{1, 10, 17, 21}));
  EXPECT_TRUE(MoveBoundary(cells, 0, -1, 30));
  EXPECT_FALSE(MoveBoundary(cells, 0, -1, 30)) << "left of the capture";
  EXPECT_FALSE(MoveBoundary(cells, 3, +10, 30)) << "right of the capture";
  cells.bounds = {0, 1, 17, 21};
  EXPECT_FALSE(MoveBoundary(cells, 1, -1, 30)) << "a cell of no columns";
  cells.bounds = {0, 41, 50, 52};
  EXPECT_FALSE(MoveBoundary(cells, 1, +1, 60)) << "a cell wider than a pattern";
  EXPECT_FALSE(MoveBoundary(cells, 4, +1, 60));
  EXPECT_EQ(cells.bounds, (std::vector<int>{0, 41, 50, 52}));
}

}  // namespace

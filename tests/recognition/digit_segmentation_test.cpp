// Teaching digits from captures as a player does, one capture after the
// other, in every common layout: the cells found for the typed numbers,
// kept as the player's patterns beside the delivered defaults, read other
// numbers of the font exactly, and a number with a digit not taught yet
// reads as 認識NG, never as another number. Captures the typed number does
// not fit are refused.
#include <gtest/gtest.h>

#include <QDir>
#include <random>

#include "persistence/pattern_store.h"
#include "recognition/area_reading.h"
#include "recognition/area_teaching.h"
#include "recognition/digit_segmentation.h"
#include "recognition/pattern_matcher.h"
#include "support/digit_fonts.h"
#include "support/qstring_printer.h"

namespace {

const QString kNg = QStringLiteral("認識NG");

enum class Grouping { None, Commas, Percent };

struct LayoutCase {
  const char* name;
  int gap;  // blank columns between neighbouring glyphs (boxes: between glyph and frame)
  CaptureLook look;
  Grouping grouping = Grouping::None;
};

std::vector<LayoutCase> Layouts() {
  // Every background pixel must match within 20: where fringes, a gradient
  // across and the noise of two grabs add up, each stays small.
  return {
      {"1-pixel gap", 1, {.noise = 8}},
      {"a space before the mark, vertical gradient", 2,
       {.background{10, 20, 60}, .backgroundEnd{90, 110, 170}, .noise = 8, .delimiterGap = 5}},
      {"no mark", 1, {.noise = 8, .delimiter = false}},
      {"no mark, other text two cells further", 2, {.noise = 8, .delimiter = false, .textAfter = 20}},
      {"boxes sharing a column, no mark", 1, {.noise = 8, .delimiter = false, .boxes = 2}},
      {"anti-aliased, gradient across", 1,
       {.background{30, 30, 90}, .backgroundEnd{38, 38, 98}, .gradientAcross = true, .noise = 4, .antiAlias = true}},
      {"textured background", 2, {.noise = 4, .texture = 4}},
      {"wide advance", 5, {.noise = 8}},
      {"comma groups", 1, {.noise = 8}, Grouping::Commas},
      {"a percentage", 1, {.background{200, 200, 120}, .backgroundEnd{160, 150, 80}, .noise = 8, .delimiterGap = 2},
       Grouping::Percent},
  };
}

// The font at the layout's spacing: glyphs `gap` apart, or in boxes with
// `gap` columns of padding inside the frame.
PixelFont Spaced(PixelFont (*make)(int), const LayoutCase& c) {
  const int glyph = static_cast<int>(make(0).digits[8][0].size());
  return make(c.look.boxes == 0 ? glyph + c.gap : glyph + 2 * c.gap + (c.look.boxes == 1 ? 2 : 1));
}

QString Grouped(const QString& digits, Grouping grouping) {
  if (grouping == Grouping::Percent) return digits.size() > 3 ? digits.left(digits.size() - 3) + '.' + digits.right(3) : digits;
  if (grouping == Grouping::None) return digits;
  QString text;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

// A number of `minDigits` to `maxDigits` digits, without a leading zero.
QString Number(std::mt19937& random, int minDigits, int maxDigits) {
  const int n = std::uniform_int_distribution<int>(minDigits, maxDigits)(random);
  QString digits = QString::number(std::uniform_int_distribution<int>(1, 9)(random));
  while (digits.size() < n) digits += QChar(u'0' + std::uniform_int_distribution<int>(0, 9)(random));
  return digits;
}

// The area as a player first finds it: the delivered defaults.
void Delivered(AreaPictures& pictures, AreaOrigins& origins, int area) {
  const QDir system(QStringLiteral(TALLYMETER_SOURCE_DIR "/system"));
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    pictures[static_cast<std::size_t>(slot)] =
        QImage(system.filePath(PatternFileName(slot < 10 ? area * 10 + slot : 20 + area))).convertToFormat(QImage::Format_RGB32);
  }
  origins.fill(PatternOrigin::Delivered);
}

PatternSet Saved(const AreaPictures& pictures, const AreaOrigins& origins, int area, const AreaLayout& layout) {
  PatternImages images;
  images.layouts[static_cast<std::size_t>(area)] = layout;
  const std::optional<AreaPictures> fitted = FittedForSave(pictures, origins);
  EXPECT_TRUE(fitted.has_value());
  StoreArea(images, area, fitted.value_or(pictures));
  StoreOrigins(images, area, origins);
  StoreArea(images, 1 - area, pictures);  // the other area as delivered
  StoreOrigins(images, 1 - area, origins);
  PatternSet set;
  EXPECT_TRUE(ConvertPatterns(images, set));
  return set;
}

TEST(DigitSegmentation, TaughtCaptureByCaptureEveryLayoutReadsOtherNumbersAndNeverMisreadsAnUntaughtDigit) {
  unsigned layoutSeed = 0;
  for (const LayoutCase& layout : Layouts()) {
   for (PixelFont (*make)(int) : {&BoldFont, &SmallFont, &TinyFont}) {
    // In a box or at a wide advance, the tiny font's 3, 8 and 9 (one pixel
    // apart) differ in too few of the cell's pixels for the match rule to
    // tell them apart: the teacher refuses them as alike. Touching, its
    // digits fit other advances about as well: the teacher asks to check.
    // Its delimiter ":" is the middle column of its 0, where a mark may
    // begin: the teacher refuses it.
    if (make == &TinyFont && (layout.look.boxes != 0 || layout.gap > 2 || layout.gap == 0 || layout.look.delimiter)) continue;
    const std::string name = std::string(make(0).name) + ", " + layout.name;
    const PixelFont font = Spaced(make, layout);
    SCOPED_TRACE(name);
    // Both areas in turn: the level area's defaults are wider than most of
    // these cells, the experience area's narrower; neither may get in the way.
    const int area = static_cast<int>(layoutSeed % 2);
    AreaPictures pictures;
    AreaOrigins origins;
    AreaLooks looks;
    Delivered(pictures, origins, area);
    std::vector<TaughtCapture> taught;
    std::set<QChar> seen;
    std::mt19937 numbers(++layoutSeed);
    unsigned seed = 1;
    const auto capture = [&](const QString& text) {
      CaptureLook look = layout.look;
      look.seed = seed++;
      return DrawCapture(font, text, look);
    };
    PatternSet set;
    AreaLayout model;
    for (int tries = 0; seen.size() < 10 && tries < 30; ++tries) {
      const QString typed = Grouped(Number(numbers, 4, 9), layout.grouping);  // a level of nine digits at most
      const QImage shown = capture(typed);
      const Segmentation found =
          FindDigitCells(shown, typed, area, KnownOf(pictures, origins), model);
      // Boxes that touch are cut at an advance only when a digit typed twice
      // or taught before bears it out; the player is asked for another capture.
      if (layout.look.boxes != 0 && found.refusal == SegmentationRefusal::DigitsTouch) continue;
      ASSERT_EQ(found.refusal, SegmentationRefusal::None) << typed.toStdString();
      // Digits that touch are cut at one advance, which the player checks.
      if (layout.look.boxes != 0) {
        EXPECT_TRUE(found.uncertain) << typed.toStdString();
      }
      PutCells(pictures, origins, looks, shown, found.cells);
      LearnLayout(model, shown, found.cells);
      taught.push_back({shown, typed, found.cells});
      for (const QChar d : found.cells.digits) seen.insert(d);
      set = Saved(pictures, origins, area, model);
      const std::optional<QString> problem = ReadBackProblem(taught, area, set);
      EXPECT_FALSE(problem.has_value()) << problem.value_or(QString()).toStdString();
      // Every other number reads exactly, or, with a digit not taught yet, not at all.
      const PatternMatcher matcher(set);
      for (int i = 0; i < 8; ++i) {
        const QString digits = Number(numbers, 1, 9);
        const bool known = std::all_of(digits.begin(), digits.end(), [&](QChar d) { return seen.count(d) > 0; });
        const QImage probe = capture(Grouped(digits, layout.grouping));
        EXPECT_EQ(ReadArea(probe, area, matcher).caption, known ? digits : kNg)
            << digits.toStdString() << " after " << taught.size() << " captures";
      }
    }
    EXPECT_EQ(seen.size(), 10u) << "not every digit taught in " << taught.size() << " captures";
    std::printf("[ layout ] %s: every digit taught from %zu captures\n", name.c_str(), taught.size());
   }
  }
}

TEST(DigitSegmentation, RefusesWhatTheTypedNumberDoesNotFit) {
  const PixelFont font = BoldFont(8);
  const CaptureLook look{.noise = 8};
  const CaptureLook invisible{.ink = look.background, .noise = 8}, low{.noise = 8, .top = 45},
      bare{.noise = 8, .delimiter = false};
  const QImage plain = DrawCapture(font, "152", look);
  KnownDigits knownTwo;
  knownTwo[2] = CellPicture(plain, FindDigitCells(plain, "152").cells, 2);
  struct Row {
    const char* name;
    QImage capture;
    QString typed;
    KnownDigits known;
    SegmentationRefusal expected;
  };
  const std::vector<Row> rows = {
      {"nothing typed", plain, "", {}, SegmentationRefusal::NotADigitString},
      {"a letter", plain, "15a", {}, SegmentationRefusal::NotADigitString},
      {"a separator at the end", plain, "152,", {}, SegmentationRefusal::NotADigitString},
      {"41 digits, grouped", plain, "1" + QString(",000").repeated(13) + "0", {}, SegmentationRefusal::TooManyDigits},
      {"41 digits and a letter", plain, QString(41, u'1') + "a", {}, SegmentationRefusal::NotADigitString},
      {"background only", DrawCapture(font, "152", invisible), "152", {}, SegmentationRefusal::NothingAtTheTop},
      {"digits below the top rows", DrawCapture(font, "152", low), "152", {}, SegmentationRefusal::NothingAtTheTop},
      // Every digit is a mark of its own: a digit too many has none, and no
      // glyph is two touching digits of a font far narrower than it is high.
      {"one digit too many", DrawCapture(font, "152", bare), "1520", {}, SegmentationRefusal::CountDoesNotFit},
      {"far too many", plain, "1234567", {}, SegmentationRefusal::CountDoesNotFit},
      {"two alike typed different", DrawCapture(font, "1522", look), "1523", {}, SegmentationRefusal::DifferentDigitsAlike},
      {"one digit typed for two", DrawCapture(font, "1523", look), "1522", {}, SegmentationRefusal::RepeatedDigitDiffers},
      {"one too few, the last one known", plain, "15", knownTwo, SegmentationRefusal::DelimiterLooksLikeADigit},
      {"a known digit typed as another", plain, "153", knownTwo, SegmentationRefusal::DifferentDigitsAlike},
  };
  for (const Row& row : rows) {
    const Segmentation found = FindDigitCells(row.capture, row.typed, 0, row.known);
    EXPECT_EQ(found.refusal, row.expected) << row.name;
    EXPECT_TRUE(row.expected != SegmentationRefusal::None || found.uncertain) << row.name << ": not told to check";
  }
  const Segmentation full = FindDigitCells(plain, QStringLiteral("１５２"), 0, knownTwo);
  EXPECT_EQ(full.refusal, SegmentationRefusal::None) << "full-width digits, as an input method types them";
  EXPECT_EQ(full.cells.digits, "152");
  EXPECT_EQ(FindDigitCells(QImage(), "1").refusal, SegmentationRefusal::NothingAtTheTop);
  EXPECT_TRUE(RefusalText(SegmentationRefusal::TooManyDigits, QString(41, u'1')).contains(QStringLiteral("40桁まで")));
}

TEST(DigitSegmentation, AnEdgeMovesEveryCellThatBeginsOrEndsThereWhileEachKeepsItsColumns) {
  DigitCells cells;
  cells.digits = "12";
  cells.spans = {{1, 8}, {9, 9}, {20, 3}};  // the second cell shares no column; the delimiter stands apart
  cells.hasDelimiter = true;
  cells.height = 13;
  EXPECT_EQ(cells.Edges(), (std::vector<int>{1, 9, 18, 20, 23}));
  EXPECT_TRUE(MoveBoundary(cells, 1, +1, 30));
  EXPECT_EQ(cells.spans, (std::vector<CellSpan>{{1, 9}, {10, 8}, {20, 3}}));
  EXPECT_TRUE(MoveBoundary(cells, 0, -1, 30));
  EXPECT_FALSE(MoveBoundary(cells, 0, -1, 30)) << "left of the capture";
  EXPECT_FALSE(MoveBoundary(cells, 4, +10, 30)) << "right of the capture";
  EXPECT_FALSE(MoveBoundary(cells, 2, -8, 30)) << "a cell of no columns";
  EXPECT_FALSE(MoveBoundary(cells, 5, +1, 30));
  EXPECT_EQ(cells.spans, (std::vector<CellSpan>{{0, 10}, {10, 8}, {20, 3}}));
}

}  // namespace

// Teaching and reading areas as the game draws them, in a real font: the
// level with "Lv." before it, the experience with its percentage in
// brackets after it; the level learning its unseen digits at a level-up.
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <random>

#include <QFileInfo>

#include "persistence/pattern_store.h"
#include "recognition/area_teaching.h"
#include "recognition/digit_segmentation.h"
#include "recognition/taught_folder.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

namespace {

// `text` in `family` on a dark gradient, scaled `scale` times (nearest
// neighbour), with ±8 of noise in every channel.
QImage Area(const QString& text, int pixelSize, int width, unsigned seed, int scale = 1,
            const QString& family = QStringLiteral("IPAGothic"), bool antialias = false) {
  QImage image(width, pixelSize + 4, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(30 + x / 12, 40, 70 + 2 * y));
  }
  QPainter painter(&image);
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  painter.setFont(font);
  painter.setPen(QColor(250, 240, 200));
  painter.drawText(QRect(3, 0, width - 3, image.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
  painter.end();
  image = image.scaled(image.size() * scale);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-8, 8);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      const auto moved = [&](int v) { return std::clamp(v + noise(random), 0, 255); };
      image.setPixel(x, y, qRgb(moved(qRed(p)), moved(qGreen(p)), moved(qBlue(p))));
    }
  }
  return image;
}

const QString kNg = QStringLiteral("認識NG");

// Dims `count` pixels of the ink of digit `index` of `typed` in `shown`:
// the glyph drawn a little otherwise (ten: below a match, near one).
bool Dim(QImage& shown, const QString& typed, int index, int count) {
  const DigitCells cells = FindDigitCells(shown, typed).cells;
  if (cells.digits != typed) return false;
  const CellSpan cell = cells.spans[static_cast<std::size_t>(index)];
  int dimmed = 0;
  for (int y = 0; y < shown.height() && dimmed < count; ++y) {
    for (int x = cell.x; x < cell.x + cell.width && dimmed < count; ++x) {
      if (qRed(shown.pixel(x, y)) < 150) continue;
      shown.setPixel(x, y, qRgb(qRed(shown.pixel(x, y)) - 60, qGreen(shown.pixel(x, y)) - 60, 120));
      ++dimmed;
    }
  }
  return dimmed == count;
}

// A program folder whose patterns are the delivered ones, taught through
// the teaching tool's class.
class LayoutTeaching : public ::testing::Test {
 protected:
  void SetUp() override {
    QStringList problems;
    ASSERT_TRUE(taught.Load(problems)) << problems.join(' ').toStdString();
  }

  TempFolder folder;
  TaughtFolder taught{folder.Path(), QStringLiteral(TALLYMETER_SOURCE_DIR "/system")};
  unsigned seed = 0;
};

TEST_F(LayoutTeaching, MarksAroundTheNumberAreLearnedAndEveryOtherMarkFailsTheArea) {
  const auto exp = [&](const QString& text) { return Area(text, 14, 200, ++seed); };

  // The percentage after the number, with and without a space, is the end mark.
  const TeachOutcome e1 = taught.Teach(1, exp("12,345,678,901[12.34%]"), "12,345,678,901");
  EXPECT_TRUE(e1.saved) << e1.problems.join(' ').toStdString() << e1.cells.toStdString();
  EXPECT_EQ(taught.Read(1, exp("10,987,654,321[56.78%]")).caption, "10987654321");
  EXPECT_EQ(taught.Read(1, exp("99,001,234[5.00%]")).caption, "99001234");
  // A digit not taught yet, ink before the number, a number cut by the edge.
  EXPECT_TRUE(taught.Teach(1, exp("9,876[0.01%]"), "9,876").saved);
  EXPECT_EQ(taught.Read(1, exp("17,650,004[3.33%]")).caption, "17650004");
  EXPECT_EQ(taught.Read(1, exp("X23,456[1.00%]")).caption, kNg);
  EXPECT_EQ(taught.Read(1, Area("1,002,916,592", 14, 60, ++seed)).caption, kNg);  // no "[" seen: cut
  // A digit too few typed: the "3" after it looks like a digit.
  EXPECT_FALSE(taught.Teach(1, exp("123[0.5%]"), "12").saved);

  const auto level = [&](int value) { return Area(QStringLiteral("Lv.%1").arg(value), 16, 70, ++seed); };
  const TeachOutcome lv = taught.Teach(0, level(247), "247");
  ASSERT_TRUE(lv.saved) << lv.problems.join(' ').toStdString();
  EXPECT_EQ(taught.Read(0, level(274)).caption, "274");
  EXPECT_EQ(taught.Read(0, level(248)).caption, kNg);  // 8 never shown
  // A level-up to unseen digits teaches them; a jump the guard would not
  // take, or another number, does not.
  EXPECT_EQ(taught.ReadLevelAfter(247, level(248)).caption, "248");
  EXPECT_EQ(taught.ReadLevelAfter(248, level(258)).caption, kNg);
  // 250 after 248 could as well be a 249 whose 4 reads nothing: a guess.
  EXPECT_EQ(taught.ReadLevelAfter(248, level(250)).caption, kNg);
  EXPECT_EQ(taught.ReadLevelAfter(248, level(249)).caption, "249");
  EXPECT_EQ(taught.ReadLevelAfter(249, level(250)).caption, "250");
  EXPECT_EQ(taught.Read(0, level(280)).caption, "280");
  EXPECT_EQ(taught.Read(0, level(281)).caption, kNg);  // 1 never shown: no "28"
}

// Scaled twice, the round digits stand two rows above and below the flat
// ones: a flat digit the level has not shown is still a digit of its line.
TEST_F(LayoutTeaching, AScaledLevelLearnsAFlatDigitBesideRoundOnes) {
  const auto level = [&](int value) {
    return Area(QString::number(value), 16, 40, ++seed, 2, QStringLiteral("DejaVu Math TeX Gyre"), true);
  };
  const TeachOutcome lv = taught.Teach(0, level(206), "206");
  ASSERT_TRUE(lv.saved) << lv.problems.join(' ').toStdString();
  EXPECT_EQ(taught.ReadLevelAfter(206, level(207)).caption, "207");
}

// A taught digit that only nearly reads where a level-up puts it (drawn a
// little otherwise) is learned as a new look of that digit along with the
// new digit, and kept beside its pattern.
TEST_F(LayoutTeaching, ALevelUpLearnsANewLookOfADigitItKnows) {
  const auto level = [&](int value) { return Area(QStringLiteral("Lv.%1").arg(value), 16, 70, ++seed); };
  ASSERT_TRUE(taught.Teach(0, level(247), "247").saved);
  // The 4 of 248 with ten pixels of its ink dimmed: below a match, near one.
  QImage shown = level(248);
  ASSERT_TRUE(Dim(shown, "248", 1, 10));
  EXPECT_EQ(taught.Read(0, shown).caption, kNg) << "the dimmed 4 reads by no pattern";
  EXPECT_EQ(taught.ReadLevelAfter(247, shown).caption, "248");
  EXPECT_EQ(taught.Read(0, shown).caption, "248") << "the new look reads";
  EXPECT_TRUE(QFileInfo::exists(folder.File("Pattern/Pattern04v1.bmp")));
  EXPECT_EQ(taught.Read(0, level(244)).caption, "244") << "the 4's own pattern still reads";
}

// A digit drawn a little otherwise is kept as a look of it, beside the
// picture taught before it and beside its own other place in one capture,
// so that every capture taught from keeps reading; one drawn far
// otherwise is no look but a sign of a wrong cut or a wrong number.
TEST_F(LayoutTeaching, ADigitDrawnALittleOtherwiseIsTaughtAsALookOfIt) {
  const auto level = [&](int value) { return Area(QStringLiteral("Lv.%1").arg(value), 16, 70, ++seed); };
  const QImage first = level(247);
  ASSERT_TRUE(taught.Teach(0, first, "247").saved);
  QImage dimmed = level(274);
  ASSERT_TRUE(Dim(dimmed, "274", 1, 10));
  const TeachOutcome other = taught.Teach(0, dimmed, "274");
  ASSERT_TRUE(other.saved) << other.problems.join(' ').toStdString();
  EXPECT_EQ(taught.Read(0, first).caption, "247") << "the 7 taught first is a look of the 7";
  EXPECT_EQ(taught.Read(0, dimmed).caption, "274");
  EXPECT_TRUE(QFileInfo::exists(folder.File("Pattern/Pattern07v1.bmp")));

  QImage twice = level(242);
  ASSERT_TRUE(Dim(twice, "242", 2, 10));
  const TeachOutcome looks = taught.Teach(0, twice, "242");
  ASSERT_TRUE(looks.saved) << looks.problems.join(' ').toStdString();
  EXPECT_EQ(taught.Read(0, twice).caption, "242");
  EXPECT_EQ(taught.Read(0, level(224)).caption, "224");

  QImage far = level(422);
  ASSERT_TRUE(Dim(far, "422", 2, 25));
  const TeachOutcome refused = taught.Teach(0, far, "422");
  EXPECT_FALSE(refused.saved);
  EXPECT_EQ(refused.problems.join(' '), RefusalText(SegmentationRefusal::RepeatedDigitDiffers, "422"));
}

// A look is cut from the capture without its noise, but whether it is
// needed is judged on the glyph as captured: two clean glyphs alike say
// nothing of whether one reads the other through a capture's noise.
TEST_F(LayoutTeaching, ALookIsNeededWhereThePictureDoesNotReadTheGlyphAsCaptured) {
  const QImage clean = Area(QStringLiteral("2"), 16, 14, ++seed);
  QImage shown = clean;
  for (int y = 0; y < shown.height(); y += 2) {
    for (int x = y % 4; x < shown.width(); x += 4) {
      const QRgb p = shown.pixel(x, y);
      shown.setPixel(x, y, qRgb(std::min(255, qRed(p) + 30), qGreen(p), qBlue(p)));
    }
  }
  std::vector<QImage> looks;
  AddLook(looks, clean, clean, clean);
  EXPECT_TRUE(looks.empty());
  AddLook(looks, clean, clean, shown);
  ASSERT_EQ(looks.size(), 1U);
  EXPECT_EQ(looks.front(), clean);
}

// A digit's looks stay beside a new picture of it as long as they fit it:
// a look a column or two wider (learned at a level-up) still reads there,
// one far wider does not.
TEST_F(LayoutTeaching, ANewPictureKeepsTheLooksThatFitIt) {
  const QImage shown = Area(QStringLiteral("25"), 16, 40, ++seed);
  const Segmentation found = FindDigitCells(shown, "25");
  ASSERT_EQ(found.refusal, SegmentationRefusal::None);
  const QImage cell = CellPicture(shown, found.cells, 0);
  AreaPictures pictures;
  AreaOrigins origins{};
  AreaLooks looks;
  pictures[2] = cell;
  origins[2] = PatternOrigin::LearnedAtLevelUp;
  const auto glyph = [&](int width) {
    return Area(QStringLiteral("2"), 16, width, ++seed).copy(0, 0, width, cell.height());
  };
  const QImage wider = glyph(cell.width() + 2);
  const QImage far = glyph(cell.width() + 5);
  looks[2] = {wider, far};
  PutCells(pictures, origins, looks, shown, found.cells);
  ASSERT_FALSE(looks[2].empty());
  EXPECT_EQ(looks[2].front(), wider);
  EXPECT_TRUE(std::none_of(looks[2].begin(), looks[2].end(), [&](const QImage& look) { return look == far; }));
}

// A capture taught from that no longer reads says why reading stopped
// before the digit it names: here ink before the number, not its cell.
TEST_F(LayoutTeaching, ACaptureThatNoLongerReadsSaysWhyReadingStoppedBeforeADigit) {
  const QImage plain = Area(QStringLiteral("23"), 16, 40, ++seed);
  ASSERT_TRUE(taught.Teach(0, plain, "23").saved);
  PatternImages images;
  PatternSet set;
  PatternFiles(QStringLiteral("READ"), images, set, folder.Path());
  const TaughtCapture marked{Area(QStringLiteral("X23"), 16, 50, ++seed), "23", FindDigitCells(plain, "23").cells};
  const std::optional<QString> problem = ReadBackProblem({marked}, 0, set);
  ASSERT_TRUE(problem.has_value());
  EXPECT_TRUE(problem->contains(QStringLiteral("最初の数字の前に読めない文字"))) << problem->toStdString();
}

}  // namespace

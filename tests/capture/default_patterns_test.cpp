// The delivered default patterns must read back unambiguously: no digit,
// seen one or two columns off, may pass for any digit, and a counter drawn
// the way the game draws it must recognise as its value.
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include "capture/pixel_grid.h"
#include "capture/recognition.h"
#include "persistence/pattern_store.h"

namespace {

const std::array<int, 2> kRegionWidths = {44, 90};
const std::array<int, 2> kRegionHeights = {13, 9};

struct Defaults {
  PatternImages images;
  PatternSet set;
};

const Defaults& LoadDefaults() {
  static const Defaults defaults = [] {
    Defaults d;
    const QDir system(QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../system")));
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      QImage& image = slot < 20 ? d.images.digits[slot] : d.images.delimiters[slot - 20];
      image = QImage(system.filePath(PatternFileName(slot))).convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_TRUE(ConvertPatterns(d.images, d.set));
    return d;
  }();
  return defaults;
}

// `text` (digits, 'D' for the delimiter) drawn as the game draws it: cells
// cellWidth - 1 apart, so that neighbours share their background edge column.
PixelGrid DrawCounter(int area, const QString& text, int leftMargin, int width) {
  const Defaults& d = LoadDefaults();
  QImage strip(width, d.set.cellHeight[area], QImage::Format_RGB32);
  strip.fill(d.images.digits[area * 10].pixel(0, 0));
  QPainter painter(&strip);
  int x = leftMargin;
  for (const QChar c : text) {
    painter.drawImage(x, 0, c == 'D' ? d.images.delimiters[area] : d.images.digits[area * 10 + c.digitValue()]);
    x += d.set.cellWidth[area] - 1;
  }
  painter.end();
  PixelGrid grid;
  ReadPixels(strip, grid);
  return grid;
}

QString Recognize(int area, const PixelGrid& capture) {
  std::array<PixelGrid, 2> captures;
  captures[area] = capture;
  return RecognizeDigits(captures, kRegionWidths, LoadDefaults().set, 0, false).captions[area];
}

class DefaultPatterns : public ::testing::TestWithParam<int> {};

TEST_P(DefaultPatterns, FitTheDefaultRegionsWithOneCellShapePerArea) {
  const int area = GetParam();
  const PatternSet& set = LoadDefaults().set;
  for (int d = 0; d < 10; ++d) {
    EXPECT_EQ(set.digitPatterns[area * 10 + d].width, set.cellWidth[area]) << d;
    EXPECT_EQ(set.digitPatterns[area * 10 + d].height, set.cellHeight[area]) << d;
  }
  EXPECT_LE(set.cellHeight[area], kRegionHeights[area]);  // compared with the region's top rows
  EXPECT_GE(set.cellWidth[area], 3);                      // the scan must move on after a digit
  // The longest counter (3 level digits, 10 experience digits) puts its
  // delimiter at a column the scan still examines.
  const int longest = area == 0 ? 3 : 10;
  EXPECT_LE(longest * (set.cellWidth[area] - 1), kRegionWidths[area] - 4);
}

TEST_P(DefaultPatterns, EveryDigitMatchesOnlyItselfInPlace) {
  const int area = GetParam();
  const PatternSet& set = LoadDefaults().set;
  for (int d = 0; d < 10; ++d) {
    const PixelGrid grid = DrawCounter(area, QString::number(d), 0, kRegionWidths[area]);
    for (int other = 0; other < 10; ++other) {
      const int score = MatchScore(set.digitPatterns[area * 10 + other], grid, 0);
      if (other == d) {
        EXPECT_EQ(score, 10000) << d;
      } else {
        EXPECT_LE(score, kMatchThreshold) << d << " passes for " << other;
      }
    }
    EXPECT_LE(MatchScore(set.delimiterPatterns[area], grid, 0), kMatchThreshold) << d << " passes for the delimiter";
  }
}

TEST_P(DefaultPatterns, NoDigitOneOrTwoColumnsOffPassesForAnyDigit) {
  const int area = GetParam();
  const PatternSet& set = LoadDefaults().set;
  const int pitch = set.cellWidth[area] - 1;
  for (int d = 0; d < 10; ++d) {
    // Alone, after a wide and a narrow neighbour, and before the delimiter.
    for (const QString& text : {QString::number(d), QStringLiteral("8%1").arg(d), QStringLiteral("1%1").arg(d),
                                QStringLiteral("%1D").arg(d)}) {
      const int at = text.endsWith('D') || text.size() == 1 ? 2 : 2 + pitch;
      const PixelGrid grid = DrawCounter(area, text, 2, 2 + 3 * set.cellWidth[area]);
      for (const int shift : {-2, -1, 1, 2}) {
        for (int other = 0; other < 10; ++other) {
          EXPECT_LE(MatchScore(set.digitPatterns[area * 10 + other], grid, at + shift), kMatchThreshold)
              << "digit " << d << " in \"" << text.toStdString() << "\" shifted " << shift << " passes for " << other;
        }
      }
    }
  }
}

TEST_P(DefaultPatterns, CountersDrawnWithThemRecogniseAsTheirValue) {
  const int area = GetParam();
  const int width = kRegionWidths[area];
  const QStringList values = area == 0 ? QStringList{"1", "9", "10", "88", "152", "199", "101", "777"}
                                       : QStringList{"1", "1234567890", "9876543210", "1111111111", "8888888888",
                                                     "4000000000", "70707", "5", "6996"};
  for (const QString& value : values) {
    for (int margin = 0; margin <= 2; ++margin) {
      EXPECT_EQ(Recognize(area, DrawCounter(area, value + "D", margin, width)), value)
          << value.toStdString() << " at margin " << margin;
      // Digits right of the delimiter are never read.
      EXPECT_EQ(Recognize(area, DrawCounter(area, value + "D12", margin, width)), value)
          << value.toStdString() << " followed by digits";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(LevelAndExperience, DefaultPatterns, ::testing::Values(0, 1));

}  // namespace

// The delivered default patterns must read back unambiguously: no digit,
// in place or a column or two off, may pass for another digit, and a counter
// drawn the way the game draws it must recognise as its value.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "capture/pixel_grid.h"
#include "capture/recognition.h"
#include "persistence/pattern_store.h"

namespace {

const std::array<int, 2> kRegionWidths = {44, 90};

class DefaultPatterns : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir system(
        QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../system")));
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      QImage& image = slot < 20 ? images.digits[slot] : images.delimiters[slot - 20];
      image = QImage(system.filePath(PatternFileName(slot))).convertToFormat(QImage::Format_RGB32);
    }
    ASSERT_TRUE(ConvertPatterns(images, set));
  }

  // `text` (digits, 'D' for the delimiter) drawn as the game draws it: cells
  // cellWidth - 1 apart, so that neighbours share their background edge column.
  PixelGrid Draw(int area, const QString& text, int leftMargin, int width) const {
    QImage strip(width, set.cellHeight[area], QImage::Format_RGB32);
    strip.fill(images.digits[area * 10].pixel(0, 0));
    QPainter painter(&strip);
    for (int i = 0; i < text.size(); ++i) {
      const QImage& glyph =
          text[i] == 'D' ? images.delimiters[area] : images.digits[area * 10 + text[i].digitValue()];
      painter.drawImage(leftMargin + i * (set.cellWidth[area] - 1), 0, glyph);
    }
    painter.end();
    PixelGrid grid;
    ReadPixels(strip, grid);
    return grid;
  }

  PatternImages images;
  PatternSet set;
};

TEST_F(DefaultPatterns, NoDigitInPlaceOrShiftedPassesForAnotherDigit) {
  for (int area = 0; area < 2; ++area) {
    for (int d = 0; d < 10; ++d) {
      // Alone, after a wide and a narrow neighbour, and before the delimiter.
      for (const QString& text : {QString::number(d), QStringLiteral("8%1").arg(d),
                                  QStringLiteral("1%1").arg(d), QStringLiteral("%1D").arg(d)}) {
        const int at = text.endsWith('D') || text.size() == 1 ? 2 : 1 + set.cellWidth[area];
        const PixelGrid grid = Draw(area, text, 2, 2 + 3 * set.cellWidth[area]);
        for (const int shift : {-2, -1, 0, 1, 2}) {
          SCOPED_TRACE(testing::Message() << area << " \"" << text.toStdString() << "\" shifted " << shift);
          for (int other = 0; other < 10; ++other) {
            const int score = MatchScore(set.digitPatterns[area * 10 + other], grid, at + shift);
            if (shift == 0 && other == d) {
              EXPECT_EQ(score, 10000);
            } else {
              EXPECT_LE(score, kMatchThreshold) << "passes for " << other;
            }
          }
        }
      }
    }
  }
}

TEST_F(DefaultPatterns, CountersDrawnWithThemRecogniseAsTheirValue) {
  const QStringList values[] = {
      {"1", "9", "10", "88", "152", "199", "101", "777"},
      {"1", "1234567890", "9876543210", "1111111111", "8888888888", "4000000000", "70707"}};
  for (int area = 0; area < 2; ++area) {
    for (const QString& value : values[area]) {
      for (int margin = 0; margin <= 2; ++margin) {
        // Digits right of the delimiter are never read.
        for (const QString& drawn : {value + "D", value + "D12"}) {
          SCOPED_TRACE(testing::Message() << drawn.toStdString() << " at margin " << margin);
          std::array<PixelGrid, 2> captures;
          captures[area] = Draw(area, drawn, margin, kRegionWidths[area]);
          EXPECT_EQ(RecognizeDigits(captures, kRegionWidths, set, 0, false).captions[area], value);
        }
      }
    }
  }
}

}  // namespace

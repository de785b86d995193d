// The delivered default patterns must read back unambiguously: no digit,
// seen one column off, may pass for another digit (or for itself), and a
// counter drawn the way the practice game draws it must scan to its value.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr int kThreshold = 9750;

QString SystemFolder() {
  return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../system"));
}

QImage Load(const QString& name) {
  return QImage(SystemFolder() + "/" + name).convertToFormat(QImage::Format_RGB32);
}

struct Area {
  std::array<QImage, 10> digits;
  QImage delimiter;
  int cellWidth = 0;
  int cellHeight = 0;
};

Area LoadArea(int area) {
  Area a;
  for (int d = 0; d < 10; ++d) {
    a.digits[d] = Load(QStringLiteral("Pattern%1.bmp").arg(area * 10 + d, 2, 10, QLatin1Char('0')));
  }
  a.delimiter = Load(QStringLiteral("PatternDel%1.bmp").arg(area));
  for (const QImage* p : {&a.digits[0], &a.digits[1], &a.digits[2], &a.digits[3], &a.digits[4], &a.digits[5],
                          &a.digits[6], &a.digits[7], &a.digits[8], &a.digits[9], &a.delimiter}) {
    a.cellWidth = std::max(a.cellWidth, p->width());
    a.cellHeight = std::max(a.cellHeight, p->height());
  }
  return a;
}

// The matching rule: every channel of every pattern pixel within 20 counts;
// picture columns beyond the right edge read black.
int Score(const QImage& pattern, const QImage& picture, int x0) {
  int count = 0;
  for (int y = 0; y < pattern.height(); ++y) {
    for (int x = 0; x < pattern.width(); ++x) {
      const QRgb p = pattern.pixel(x, y);
      const int px = x0 + x;
      const QRgb c = (px >= 0 && px < picture.width() && y < picture.height()) ? picture.pixel(px, y) : qRgb(0, 0, 0);
      count += std::abs(qRed(p) - qRed(c)) <= 20;
      count += std::abs(qGreen(p) - qGreen(c)) <= 20;
      count += std::abs(qBlue(p) - qBlue(c)) <= 20;
    }
  }
  return count * 10000 / pattern.width() / pattern.height() / 3;
}

// Draws `text` (digits, and 'D' for the delimiter) as the game does: cells
// side by side, each starting cellWidth - 1 columns after the previous one,
// so that neighbouring cells share their background edge column.
QImage DrawCounter(const Area& a, const QString& text, int leftMargin, int width) {
  QImage strip(width, a.cellHeight, QImage::Format_RGB32);
  strip.fill(a.digits[0].pixel(0, 0));
  int x = leftMargin;
  for (const QChar c : text) {
    const QImage& glyph = c == 'D' ? a.delimiter : a.digits[c.digitValue()];
    for (int gy = 0; gy < glyph.height(); ++gy) {
      for (int gx = 0; gx < glyph.width(); ++gx) {
        if (x + gx < width) strip.setPixel(x + gx, gy, glyph.pixel(gx, gy));
      }
    }
    x += a.cellWidth - 1;
  }
  return strip;
}

// The column scan: first digit above the threshold wins, jump cellWidth - 1,
// stop at the delimiter, last column = region width - 4.
QString Scan(const Area& a, const QImage& capture, int regionWidth) {
  QString read;
  for (int x = 0; x <= regionWidth - 4; ++x) {
    int digit = -1;
    for (int d = 0; d < 10 && digit < 0; ++d) {
      if (Score(a.digits[d], capture, x) > kThreshold) digit = d;
    }
    if (digit >= 0) {
      read += QString::number(digit);
      x += a.cellWidth - 2;
    } else if (Score(a.delimiter, capture, x) > kThreshold) {
      break;
    }
  }
  return read;
}

class DefaultPatterns : public ::testing::TestWithParam<int> {};

TEST_P(DefaultPatterns, FitTheDefaultRegionsAndShareOneCellShape) {
  const int area = GetParam();
  const Area a = LoadArea(area);
  const int maxHeight = area == 0 ? 13 : 9;
  for (const QImage& d : a.digits) {
    ASSERT_FALSE(d.isNull());
    EXPECT_EQ(d.size(), a.digits[0].size());
    EXPECT_LE(d.height(), maxHeight);
  }
  ASSERT_FALSE(a.delimiter.isNull());
  EXPECT_LE(a.delimiter.width(), a.cellWidth);
  EXPECT_GE(a.cellWidth, 3);  // the scan must move on after a digit
}

TEST_P(DefaultPatterns, EveryDigitMatchesOnlyItselfInPlace) {
  const Area a = LoadArea(GetParam());
  for (int d = 0; d < 10; ++d) {
    const QImage picture = DrawCounter(a, QString::number(d), 0, a.cellWidth + 8);
    for (int other = 0; other < 10; ++other) {
      const int score = Score(a.digits[other], picture, 0);
      if (other == d) {
        EXPECT_EQ(score, 10000) << d;
      } else {
        EXPECT_LE(score, kThreshold) << d << " passes for " << other;
      }
    }
    EXPECT_LE(Score(a.delimiter, picture, 0), kThreshold) << d << " passes for the delimiter";
  }
}

TEST_P(DefaultPatterns, NoDigitOneOrTwoColumnsOffPassesForAnyDigit) {
  const Area a = LoadArea(GetParam());
  for (int d = 0; d < 10; ++d) {
    for (const QString& neighbours : {QString::number(d), QStringLiteral("8%1").arg(d), QStringLiteral("1%1").arg(d),
                                      QStringLiteral("%1D").arg(d)}) {
      const int at = neighbours.startsWith(QString::number(d)) ? 2 : 2 + a.cellWidth - 1;
      const QImage picture = DrawCounter(a, neighbours, 2, 3 * a.cellWidth + 8);
      for (const int shift : {-2, -1, 1, 2}) {
        for (int other = 0; other < 10; ++other) {
          EXPECT_LE(Score(a.digits[other], picture, at + shift), kThreshold)
              << "digit " << d << " in \"" << neighbours.toStdString() << "\" shifted " << shift << " passes for "
              << other;
        }
      }
    }
  }
}

TEST_P(DefaultPatterns, CountersDrawnWithThemScanToTheirValue) {
  const int area = GetParam();
  const Area a = LoadArea(area);
  const int regionWidth = area == 0 ? 44 : 90;
  const QStringList values = area == 0 ? QStringList{"1", "9", "10", "88", "152", "199", "200", "101", "777"}
                                       : QStringList{"0", "1", "1234567890", "9876543210", "1111111111",
                                                     "8888888888", "4000000000", "70707", "5", "6996"};
  for (const QString& value : values) {
    for (int margin = 0; margin <= 2; ++margin) {
      const QImage capture = DrawCounter(a, value + "D", margin, regionWidth);
      EXPECT_EQ(Scan(a, capture, regionWidth), value) << value.toStdString() << " at margin " << margin;
      // Something right of the delimiter is never read.
      const QImage trailing = DrawCounter(a, value + "D12", margin, regionWidth + 2 * a.cellWidth);
      EXPECT_EQ(Scan(a, trailing, regionWidth), value) << value.toStdString() << " followed by digits";
    }
  }
}

TEST_P(DefaultPatterns, TheLongestCounterAndItsDelimiterStartWithinTheScan) {
  const int area = GetParam();
  const Area a = LoadArea(area);
  const int regionWidth = area == 0 ? 44 : 90;
  const int digits = area == 0 ? 3 : 10;
  const int delimiterStart = digits * (a.cellWidth - 1);
  EXPECT_LE(delimiterStart, regionWidth - 4);
}

INSTANTIATE_TEST_SUITE_P(LevelAndExperience, DefaultPatterns, ::testing::Values(0, 1));

}  // namespace

// Fitting a rough drag to the number's text line, on a status bar drawn
// with a real font: a frame line above it, a gradient behind it.
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <cstdlib>

#include "recognition/text_line.h"
#include "support/qstring_printer.h"

namespace {

struct Bar {
  QImage picture;
  QRect digits;  // the ink of "12,345" as drawn
};

QRgb Background(int x, int y) { return qRgb(20 + x / 8, 30, 60 + y); }

Bar StatusBar() {
  QImage image(200, 40, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, Background(x, y));
  }
  QPainter painter(&image);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(16);
  painter.setFont(font);
  painter.setPen(QColor(250, 240, 200));
  painter.drawText(QPoint(40, 28), QStringLiteral("12,345"));
  // Where the ink is: what stands out from the background by more than 30.
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (std::abs(qRed(image.pixel(x, y)) - qRed(Background(x, y))) > 30) ink |= QRect(x, y, 1, 1);
    }
  }
  painter.setPen(QColor(200, 200, 210));
  painter.drawLine(0, ink.top() - 3, 199, ink.top() - 3);  // the bar's frame, two blank rows above the digits
  painter.end();
  return {image, ink};
}

TEST(TextLine, ARoughDragGrowsToTheStrokesItCutAndLosesBlankRowsButNeverFollowsTheFrame) {
  const Bar bar = StatusBar();
  const QRect digits = bar.digits;
  ASSERT_GT(digits.height(), 8);
  const int frame = digits.top() - 3;

  // The top rows and the first digit's first columns cut: grown to them with a pixel to spare.
  const QRect cut(digits.left() + 2, digits.top() + 3, digits.width() - 2, digits.height() - 2);
  const TextLineFit grown = FitToTextLine(bar.picture, cut);
  EXPECT_EQ(grown.area.top(), digits.top() - 1);
  EXPECT_EQ(grown.area.left(), digits.left() - 1);
  EXPECT_EQ(grown.top, 4);
  EXPECT_EQ(grown.left, 3);
  EXPECT_GE(grown.area.bottom(), digits.bottom());
  EXPECT_TRUE(grown.Moved());

  // Blank rows beyond one go, and so does the frame line two rows above:
  // drawn across the whole bar, it is the background of its row.
  const QRect tall(digits.left() - 1, 0, digits.width() + 2, 40);
  const TextLineFit trimmed = FitToTextLine(bar.picture, tall);
  EXPECT_EQ(trimmed.area.top(), digits.top() - 1);
  EXPECT_EQ(trimmed.area.bottom(), digits.bottom() + 1);
  EXPECT_EQ(trimmed.area.left(), tall.left());
  EXPECT_EQ(trimmed.top, -(digits.top() - 1));

  // A drag whose top row lies on the frame line and whose bottom cuts the
  // digits: it grows down to them, never along the line.
  const QRect onFrame(digits.left() - 1, frame, digits.width() + 2, digits.bottom() - frame - 1);
  const TextLineFit framed = FitToTextLine(bar.picture, onFrame);
  EXPECT_EQ(framed.area, QRect(QPoint(onFrame.left(), digits.top() - 1), QPoint(onFrame.right(), digits.bottom() + 1)));

  // A drag that already holds the line with its margin stays as it is.
  const QRect exact = digits.adjusted(-1, -1, 1, 1);
  EXPECT_FALSE(FitToTextLine(bar.picture, exact).Moved());
  // A drag outside the picture is left to the checks of the area.
  const QRect outside(190, 30, 20, 20);
  EXPECT_EQ(FitToTextLine(bar.picture, outside).area, outside);
}

}  // namespace

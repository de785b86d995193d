// The noise a capture carries of its own, and the picture teaching cuts
// its patterns from.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "recognition/capture_noise.h"
#include "recognition/ink_columns.h"

namespace {

// Light digits on a dark gradient (`textured`: under stripes as well), as
// exact as a screen grab; with `noise`, every channel moved by up to that
// much, afresh for each seed.
QImage Digits(int noise, std::uint32_t seed, bool antialiased = true, bool textured = false) {
  QImage image(90, 24, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int shade = 40 + (textured ? ((x / 2 + y) % 4) * 6 : 0) + x / 10;
      image.setPixel(x, y, qRgb(shade, shade, shade + 10));
    }
  }
  QPainter painter(&image);
  QFont font;
  font.setPixelSize(18);
  if (!antialiased) font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(QColor(250, 240, 200));
  painter.drawText(QRect(2, 0, 86, 24), Qt::AlignVCenter, QStringLiteral("120,345"));
  painter.end();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> shift(-noise, noise);
  for (int y = 0; noise > 0 && y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      image.setPixel(x, y, qRgb(std::clamp(qRed(p) + shift(random), 0, 255),
                                std::clamp(qGreen(p) + shift(random), 0, 255),
                                std::clamp(qBlue(p) + shift(random), 0, 255)));
    }
  }
  return image;
}

TEST(CaptureNoise, AnExactCaptureHasNoneAndIsLeftAsItIs) {
  for (const bool antialiased : {true, false}) {
    for (const bool textured : {true, false}) {
      const QImage exact = Digits(0, 1, antialiased, textured);
      EXPECT_EQ(NoiseAmplitude(exact), 0);
      EXPECT_EQ(WithoutNoise(exact), exact);
    }
  }
  // Noise too faint to move a match is left too.
  EXPECT_EQ(NoiseAmplitude(Digits(3, 2)), 0);
}

// Edges raise the measure a little, more in a font with more of them: the
// platforms' default fonts differ.
TEST(CaptureNoise, TheAmplitudeOfNoiseIsMeasuredBesideTheEdgesOfGlyphs) {
  for (const int noise : {6, 8, 10, 12, 16}) {
    const int measured = NoiseAmplitude(Digits(noise, static_cast<std::uint32_t>(noise)));
    EXPECT_LE(std::abs(measured - noise), noise / 4 + 2) << noise << " measured as " << measured;
  }
}

// Two captures of ±12 differ by up to 24, past a match's tolerance of 20.
// The picture without noise differs from another capture that far in few
// places of the background, and keeps every pixel of a glyph's edge as
// captured.
TEST(CaptureNoise, ThePictureWithoutNoiseMeetsAnotherCaptureWithinTheTolerance) {
  const QImage first = Digits(12, 3);
  const QImage second = Digits(12, 4);
  const QImage clean = WithoutNoise(first);
  const QImage exact = Digits(0, 0);
  int rawFar = 0;
  int cleanFar = 0;
  for (int y = 1; y + 1 < exact.height(); ++y) {
    for (int x = 1; x + 1 < exact.width(); ++x) {
      int step = 0;  // the largest step to a neighbour in the exact capture
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          step = std::max(step, ChannelDistance(exact.pixel(x + dx, y + dy), exact.pixel(x, y)));
        }
      }
      if (step > 50) {
        EXPECT_EQ(clean.pixel(x, y), first.pixel(x, y)) << x << "," << y;
      } else if (step < 20) {
        rawFar += ChannelDistance(first.pixel(x, y), second.pixel(x, y)) > 20 ? 1 : 0;
        cleanFar += ChannelDistance(clean.pixel(x, y), second.pixel(x, y)) > 20 ? 1 : 0;
      }
    }
  }
  EXPECT_GT(rawFar, 30);
  EXPECT_LT(cleanFar * 4, rawFar) << cleanFar << " of " << rawFar;
}

}  // namespace

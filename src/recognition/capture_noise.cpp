#include "recognition/capture_noise.h"

#include <QRgb>

#include <algorithm>
#include <array>
#include <cstdint>

#include "recognition/ink_columns.h"

namespace {

// Half the noise's amplitude is the median distance from a pixel to the
// most like of its eight neighbours, where every channel carries noise of
// its own. Drawn exactly, a flat background, a texture and a gradient each
// give nearly every pixel a neighbour of its colour, and a glyph's edges
// are few: that median is 0 or 1.
constexpr int kFaintestMedian = 3;  // below: noise too faint to move a match

}  // namespace

int NoiseAmplitude(const QImage& capture) {
  const QImage image = capture.convertToFormat(QImage::Format_RGB32);
  std::array<std::int64_t, 256> histogram{};
  std::int64_t total = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb centre = image.pixel(x, y);
      int nearest = 256;
      for (int ny = std::max(0, y - 1); ny <= std::min(image.height() - 1, y + 1); ++ny) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(ny));
        for (int nx = std::max(0, x - 1); nx <= std::min(image.width() - 1, x + 1); ++nx) {
          if (nx != x || ny != y) nearest = std::min(nearest, ChannelDistance(line[nx], centre));
        }
      }
      if (nearest > 255) continue;
      ++histogram[static_cast<std::size_t>(nearest)];
      ++total;
    }
  }
  if (total == 0) return 0;
  std::int64_t seen = 0;
  int median = 0;
  while (median < 255 && (seen += histogram[static_cast<std::size_t>(median)]) * 2 < total) ++median;
  return median < kFaintestMedian ? 0 : 2 * median;
}

QImage WithoutNoise(const QImage& capture) {
  QImage image = capture.convertToFormat(QImage::Format_RGB32);
  const int noise = NoiseAmplitude(image);
  if (noise == 0) return image;
  const int like = 2 * noise;
  QImage smooth(image.size(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(smooth.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb centre = image.pixel(x, y);
      int r = 0;
      int g = 0;
      int b = 0;
      int n = 0;
      bool flat = true;
      for (int ny = std::max(0, y - 1); ny <= std::min(image.height() - 1, y + 1) && flat; ++ny) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(ny));
        for (int nx = std::max(0, x - 1); nx <= std::min(image.width() - 1, x + 1); ++nx) {
          if (ChannelDistance(line[nx], centre) > like) {
            flat = false;
            break;
          }
          r += qRed(line[nx]);
          g += qGreen(line[nx]);
          b += qBlue(line[nx]);
          ++n;
        }
      }
      if (!flat) {
        out[x] = centre;
        continue;
      }
      out[x] = qRgb((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n);
    }
  }
  return smooth;
}

#include "base/pixel_grid.h"

int ReadPixelsAt(const QImage& picture, QPoint start, PixelGrid& grid) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  grid.width = rgb.width();
  grid.height = rgb.height();
  grid.pixels.assign(static_cast<std::size_t>(grid.width) * grid.height, 0u);
  for (int y = 0; y < grid.height; ++y) {
    const int sy = start.y() + y;
    if (sy < 0 || sy >= rgb.height()) continue;
    const auto* row = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(sy));
    for (int x = 0; x < grid.width; ++x) {
      const int sx = start.x() + x;
      if (sx < 0 || sx >= rgb.width()) continue;
      grid.pixels[static_cast<std::size_t>(y) * grid.width + x] = row[sx] & 0x00FFFFFFu;
    }
  }
  return grid.height;
}

int ReadPixels(const QImage& picture, PixelGrid& grid) { return ReadPixelsAt(picture, QPoint(0, 0), grid); }

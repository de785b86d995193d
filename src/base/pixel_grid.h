#pragma once
// A picture's pixels as 32-bit values 0x00RRGGBB (bytes blue, green, red, 0
// in memory), addressed (x, y) with pixel (x, y) at y * width + x.

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <vector>

struct PixelGrid {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Replaces `grid` by the picture's pixels seen from `start`: grid (x, y) is
// picture pixel (start.x + x, start.y + y). The grid has the picture's size;
// pixels that fall outside the picture read black. Returns the rows read.
int ReadPixelsAt(const QImage& picture, QPoint start, PixelGrid& grid);
int ReadPixels(const QImage& picture, PixelGrid& grid);

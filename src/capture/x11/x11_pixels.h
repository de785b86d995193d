#pragma once
// Turning the bytes of a Z-format X image into a QImage. Pure: knows only the
// layout the server described, not the server.

#include <QImage>
#include <cstddef>
#include <cstdint>

struct ZPixmapLayout {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // 8, 16, 24 or 32
  int bytesPerLine = 0;   // row stride, scanline padding included
  bool msbFirst = false;  // the server's image byte order
  std::uint32_t redMask = 0xFF0000;
  std::uint32_t greenMask = 0x00FF00;
  std::uint32_t blueMask = 0x0000FF;
};

// Row stride of `width` pixels of `bitsPerPixel` padded to `scanlinePad` bits.
int ZPixmapStride(int width, int bitsPerPixel, int scanlinePad);

// An RGB32 image of width x height; null when the data is shorter than the
// layout says or the layout makes no sense.
QImage ConvertZPixmap(const std::uint8_t* data, std::size_t length, const ZPixmapLayout& layout);

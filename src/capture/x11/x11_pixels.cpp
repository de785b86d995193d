#include "capture/x11/x11_pixels.h"

#include <bit>
#include <cstring>

namespace {

struct Channel {
  int shift = 0;
  int bits = 0;
  std::uint32_t mask = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m);
  }
  int Value(std::uint32_t pixel) const {
    const std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<int>(v >> (bits - 8));
    return static_cast<int>(v * 255 / ((1u << bits) - 1));
  }
};

std::uint32_t ReadPixel(const std::uint8_t* p, int bytes, bool msbFirst) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    const int index = msbFirst ? i : bytes - 1 - i;
    v = (v << 8) | p[index];
  }
  return v;
}

bool Contiguous(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

}  // namespace

int ZPixmapStride(int width, int bitsPerPixel, int scanlinePad) {
  if (width <= 0 || bitsPerPixel <= 0 || scanlinePad <= 0) return 0;
  const std::int64_t bits = std::int64_t{width} * bitsPerPixel;
  return static_cast<int>((bits + scanlinePad - 1) / scanlinePad * scanlinePad / 8);
}

QImage ConvertZPixmap(const std::uint8_t* data, std::size_t length, const ZPixmapLayout& layout) {
  const int bpp = layout.bitsPerPixel;
  if (data == nullptr || layout.width <= 0 || layout.height <= 0) return {};
  if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return {};
  if (!Contiguous(layout.redMask) || !Contiguous(layout.greenMask) || !Contiguous(layout.blueMask)) return {};
  const int bytes = bpp / 8;
  const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * bytes;
  if (layout.bytesPerLine < 0 || static_cast<std::size_t>(layout.bytesPerLine) < rowBytes) return {};
  const std::size_t needed = static_cast<std::size_t>(layout.bytesPerLine) * (layout.height - 1) + rowBytes;
  if (length < needed) return {};

  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  if (image.isNull()) return {};
  // The usual case (24-bit colour in 32-bit little-endian pixels, 0x00RRGGBB)
  // is QImage's own layout but for the unused byte.
  if (bpp == 32 && !layout.msbFirst && layout.redMask == 0xFF0000 && layout.greenMask == 0x00FF00 &&
      layout.blueMask == 0x0000FF) {
    for (int y = 0; y < layout.height; ++y) {
      const std::uint8_t* row = data + static_cast<std::size_t>(y) * layout.bytesPerLine;
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
      std::memcpy(out, row, rowBytes);
      for (int x = 0; x < layout.width; ++x) out[x] |= 0xFF000000u;
    }
    return image;
  }
  const Channel red(layout.redMask), green(layout.greenMask), blue(layout.blueMask);
  for (int y = 0; y < layout.height; ++y) {
    const std::uint8_t* row = data + static_cast<std::size_t>(y) * layout.bytesPerLine;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < layout.width; ++x) {
      const std::uint32_t pixel = ReadPixel(row + static_cast<std::size_t>(x) * bytes, bytes, layout.msbFirst);
      out[x] = qRgb(red.Value(pixel), green.Value(pixel), blue.Value(pixel));
    }
  }
  return image;
}

#include "persistence/bmp_structure.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kMaxSide = 65535;  // far beyond any pattern; keeps the sums small

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

class Bytes {
 public:
  explicit Bytes(const QByteArray& bytes) : data_(bytes) {}
  std::int64_t Size() const { return data_.size(); }
  bool Has(std::int64_t at, std::int64_t count) const { return at >= 0 && count >= 0 && at + count <= Size(); }
  std::uint32_t U8(std::int64_t at) const { return static_cast<unsigned char>(data_[static_cast<qsizetype>(at)]); }
  std::uint32_t U16(std::int64_t at) const { return U8(at) | U8(at + 1) << 8; }
  std::uint32_t U32(std::int64_t at) const { return U16(at) | U16(at + 2) << 16; }

 private:
  const QByteArray& data_;
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, whichever way they run
  bool bottomUp = true;
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
  std::int64_t paletteStart = 0;
  std::int64_t paletteEntries = 0;  // only for 8 bits and fewer
  std::int64_t pixelStart = 0;
  std::int64_t dataEnd = 0;  // where the file may end: past the pixels, or an embedded colour profile
};

// A few bytes after the pixels are padding some writers add (two, after
// Photoshop's rows); a row or more means the header tells of fewer pixels
// than the file holds.
constexpr std::int64_t kMostTrailing = 3;

// Red, green and blue masks that each pick out some bits of a pixel, in one
// run and without sharing any: with all of them 0 every pixel reads black.
bool MasksMeaningful(const Bytes& in, std::uint32_t bits) {
  const std::int64_t at = kFileHeaderSize + 40;
  if (!in.Has(at, 12)) return false;
  const std::uint64_t limit = std::uint64_t{1} << bits;
  std::uint32_t seen = 0;
  for (int i = 0; i < 3; ++i) {
    const std::uint32_t mask = in.U32(at + 4 * i);
    if (mask == 0 || mask >= limit || (mask & seen) != 0) return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    if ((run & (run + 1)) != 0) return false;
    seen |= mask;
  }
  return true;
}

// The end of a colour profile kept after the pixels (a 124-byte header may
// say so), or 0.
std::int64_t EmbeddedProfileEnd(const Bytes& in, std::int64_t infoSize) {
  constexpr std::uint32_t kEmbedded = 0x4D424544;  // 'MBED'
  if (infoSize != 124 || in.U32(kFileHeaderSize + 56) != kEmbedded) return 0;
  return kFileHeaderSize + in.U32(kFileHeaderSize + 112) + in.U32(kFileHeaderSize + 116);
}

bool ReadHeader(const Bytes& in, Header& h) {
  if (!in.Has(0, kFileHeaderSize + 12) || in.U8(0) != 'B' || in.U8(1) != 'M') return false;
  h.pixelStart = in.U32(10);
  const std::int64_t infoSize = in.U32(14);
  if (!in.Has(kFileHeaderSize, infoSize)) return false;
  std::uint32_t planes = 0;
  std::int64_t colorsUsed = 0;
  std::int64_t entrySize = 4;
  if (infoSize == 12) {
    h.width = in.U16(18);
    h.height = in.U16(20);
    planes = in.U16(22);
    h.bits = in.U16(24);
    entrySize = 3;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 || infoSize == 108 ||
             infoSize == 124) {
    h.width = static_cast<std::int32_t>(in.U32(18));
    const auto height = static_cast<std::int32_t>(in.U32(22));
    h.bottomUp = height > 0;
    h.height = std::llabs(static_cast<long long>(height));
    planes = in.U16(26);
    h.bits = in.U16(28);
    h.compression = in.U32(30);
    colorsUsed = in.U32(46);
  } else {
    return false;
  }
  if (h.width < 1 || h.height < 1 || h.width > kMaxSide || h.height > kMaxSide || planes != 1) return false;
  switch (h.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  const bool compressionFits = h.compression == kRgb || (h.compression == kRle8 && h.bits == 8 && h.bottomUp) ||
                               (h.compression == kRle4 && h.bits == 4 && h.bottomUp) ||
                               (h.compression == kBitFields && (h.bits == 16 || h.bits == 32));
  if (!compressionFits) return false;
  // The three masks follow a 40-byte header; larger headers hold them.
  const std::int64_t masks = h.compression == kBitFields && infoSize == 40 ? 12 : 0;
  if (h.compression == kBitFields && !MasksMeaningful(in, h.bits)) return false;
  h.dataEnd = EmbeddedProfileEnd(in, infoSize);
  h.paletteStart = kFileHeaderSize + infoSize + masks;
  if (h.bits <= 8) {
    const std::int64_t most = std::int64_t{1} << h.bits;
    h.paletteEntries = colorsUsed == 0 ? most : colorsUsed;
    if (h.paletteEntries > most) return false;
  }
  const std::int64_t paletteEnd = h.paletteStart + h.paletteEntries * entrySize;
  return paletteEnd <= h.pixelStart && h.pixelStart <= in.Size();
}

// The file ends where its data ends, give or take a writer's padding.
bool EndsAfter(const Bytes& in, const Header& h, std::int64_t pixelEnd) {
  const std::int64_t end = std::max(pixelEnd, h.dataEnd);
  return in.Size() >= end && in.Size() - end <= kMostTrailing;
}

// The index of pixel x in a row of packed indices.
std::uint32_t IndexAt(const Bytes& in, std::int64_t row, std::int64_t x, std::uint32_t bits) {
  const std::int64_t bit = x * bits;
  const std::uint32_t byte = in.U8(row + bit / 8);
  const auto shift = static_cast<std::uint32_t>(8 - bits - bit % 8);
  return (byte >> shift) & ((1U << bits) - 1);
}

bool SoundRows(const Bytes& in, const Header& h) {
  const std::int64_t stride = (h.width * h.bits + 31) / 32 * 4;
  if (!in.Has(h.pixelStart, stride * h.height) || !EndsAfter(in, h, h.pixelStart + stride * h.height)) return false;
  if (h.bits > 8) return true;
  for (std::int64_t y = 0; y < h.height; ++y) {
    const std::int64_t row = h.pixelStart + y * stride;
    for (std::int64_t x = 0; x < h.width; ++x) {
      if (IndexAt(in, row, x, h.bits) >= h.paletteEntries) return false;
    }
  }
  return true;
}

// Walks the RLE stream as a decoder would, without drawing. Every pixel of
// every row must be given: a row ended early, a move (which skips pixels)
// or an end mark before the last row leave pixels a decoder makes up.
bool SoundRle(const Bytes& in, const Header& h) {
  const bool four = h.compression == kRle4;
  const auto indexFits = [&](std::uint32_t value) { return value < h.paletteEntries; };
  std::int64_t at = h.pixelStart;
  std::int64_t x = 0;
  std::int64_t y = 0;
  while (in.Has(at, 2)) {
    const std::uint32_t count = in.U8(at);
    const std::uint32_t value = in.U8(at + 1);
    at += 2;
    if (count > 0) {  // a run of one colour (two alternating in 4 bits)
      if (y >= h.height || x + count > h.width) return false;
      if (four ? !indexFits(value >> 4) || (count > 1 && !indexFits(value & 15)) : !indexFits(value)) return false;
      x += count;
      continue;
    }
    if (value == 0) {  // end of row
      if (x != h.width) return false;
      x = 0;
      ++y;
      if (y > h.height) return false;
    } else if (value == 1) {  // end of picture
      const bool filled = (y == h.height - 1 && x == h.width) || (y == h.height && x == 0);
      return filled && EndsAfter(in, h, at);
    } else if (value == 2) {  // move
      return false;
    } else {  // `value` pixels given one by one, padded to a whole word
      const std::int64_t bytes = four ? (value + 1) / 2 : value;
      if (y >= h.height || x + value > h.width || !in.Has(at, bytes)) return false;
      for (std::uint32_t i = 0; i < value; ++i) {
        const std::uint32_t byte = in.U8(at + (four ? i / 2 : i));
        if (!indexFits(four ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte)) return false;
      }
      x += value;
      at += bytes + bytes % 2;
    }
  }
  return false;  // cut short before its end mark
}

}  // namespace

bool SoundBmp(const QByteArray& bytes) {
  const Bytes in(bytes);
  Header h;
  if (!ReadHeader(in, h)) return false;
  return h.compression == kRle8 || h.compression == kRle4 ? SoundRle(in, h) : SoundRows(in, h);
}

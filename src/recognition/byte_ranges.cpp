#include "recognition/byte_ranges.h"

namespace {

int AgreeingInGroup(const std::uint32_t* pixels, const ByteRanges& r) {
  std::uint8_t bytes[16];
  std::memcpy(bytes, pixels, sizeof bytes);
  int n = 0;
  for (int i = 0; i < 16; ++i) n += static_cast<std::uint8_t>(bytes[i] - r.low[i]) <= r.span[i] ? 1 : 0;
  return n;
}

}  // namespace

int AgreeingBytesPlain(const std::uint32_t* origin, std::ptrdiff_t stride, const ByteRanges* ranges, int groups,
                       int rows) {
  int n = 0;
  for (int r = 0; r < rows; ++r) {
    for (int g = 0; g < groups; ++g) n += AgreeingInGroup(origin + r * stride + 4 * g, ranges[r * groups + g]);
  }
  return n;
}

int AgreeingBytesAtPlain(const std::uint32_t* origin, const std::ptrdiff_t* offsets, const ByteRanges& ranges) {
  const std::uint32_t pixels[4] = {origin[offsets[0]], origin[offsets[1]], origin[offsets[2]], origin[offsets[3]]};
  return AgreeingInGroup(pixels, ranges);
}

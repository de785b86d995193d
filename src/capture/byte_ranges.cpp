#include "capture/byte_ranges.h"

namespace {

int AgreeingInGroup(const std::uint32_t* pixels, const ByteRanges& r) {
  std::uint8_t bytes[16];
  std::memcpy(bytes, pixels, sizeof bytes);
  int n = 0;
  for (int i = 0; i < 16; ++i) n += (bytes[i] >= r.low[i] && bytes[i] <= r.high[i]) ? 1 : 0;
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

int AgreeingBytesOfPlain(const std::uint32_t (&pixels)[4], const ByteRanges& ranges) {
  return AgreeingInGroup(pixels, ranges);
}

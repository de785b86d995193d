#pragma once
// Counting the bytes of captured pixels that lie within per-byte ranges:
// the inner loop of pattern matching. Each pattern pixel becomes four byte
// ranges (blue, green, red within 20 of the pattern's value; the unused
// fourth byte 0 … 255), so a byte agrees exactly when it lies in its range.
//
// Vectorised with SSE2, which every x86-64 processor has; elsewhere the
// plain versions do the same work. Both are always compiled. Inline: they
// run a few hundred times per recognition, a few instructions each.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Sixteen byte ranges: four pixels' worth. Stored as the lowest value and
// the range's width: a byte v agrees when (v − low) mod 256 ≤ span, one
// subtraction and one unsigned comparison (a value below `low` wraps above
// 255 − low ≥ span, so it cannot pass).
struct alignas(16) ByteRanges {
  std::uint8_t low[16];
  std::uint8_t span[16];
};

// Agreeing bytes of a block of `rows` rows of `groups` four-pixel groups:
// row r starts at origin + r * stride and is compared with
// ranges[r * groups …]. At most 255 groups in all.
int AgreeingBytesPlain(const std::uint32_t* origin, std::ptrdiff_t stride, const ByteRanges* ranges, int groups,
                       int rows);

// Agreeing bytes of the four pixels origin[offsets[0]] … origin[offsets[3]],
// against one group.
int AgreeingBytesAtPlain(const std::uint32_t* origin, const std::ptrdiff_t* offsets, const ByteRanges& ranges);

#if defined(__SSE2__)

namespace byte_ranges_detail {

// Set bits of every byte value.
inline constexpr auto kBitsSet = [] {
  std::array<std::uint8_t, 256> bits{};
  for (int i = 0; i < 256; ++i) bits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i & 1) + (i >> 1 & 1) + (i >> 2 & 1) + (i >> 3 & 1) + (i >> 4 & 1) + (i >> 5 & 1) + (i >> 6 & 1) + (i >> 7 & 1));
  return bits;
}();

// 0xFF in every byte that lies within its range: (v − low) wraps, and the
// saturating subtraction of the span leaves 0 exactly for the agreeing bytes.
inline __m128i InRange(__m128i v, const ByteRanges& r) {
  const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(r.low));
  const __m128i span = _mm_load_si128(reinterpret_cast<const __m128i*>(r.span));
  return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, low), span), _mm_setzero_si128());
}

// Adds up per-byte counters (each at most 255).
inline int Total(__m128i counts) {
  const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
}

// Rows of a fixed number of groups: the compiler unrolls them.
template <int kGroups>
inline __m128i CountRows(__m128i counts, const std::uint32_t* origin, std::ptrdiff_t stride, const ByteRanges* ranges,
                         int rows) {
  for (int r = 0; r < rows; ++r, origin += stride, ranges += kGroups) {
    for (int g = 0; g < kGroups; ++g) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(origin + 4 * g));
      counts = _mm_sub_epi8(counts, InRange(v, ranges[g]));
    }
  }
  return counts;
}

}  // namespace byte_ranges_detail

inline int AgreeingBytes(const std::uint32_t* origin, std::ptrdiff_t stride, const ByteRanges* ranges, int groups,
                         int rows) {
  using namespace byte_ranges_detail;
  // An agreeing byte is 0xFF, that is -1: subtracting counts it.
  __m128i counts = _mm_setzero_si128();
  switch (groups) {  // the common pattern widths: up to 12 pixels
    case 1:
      return Total(CountRows<1>(counts, origin, stride, ranges, rows));
    case 2:
      return Total(CountRows<2>(counts, origin, stride, ranges, rows));
    case 3:
      return Total(CountRows<3>(counts, origin, stride, ranges, rows));
    default:
      break;
  }
  for (int r = 0; r < rows; ++r) {
    const std::uint32_t* row = origin + r * stride;
    for (int g = 0; g < groups; ++g) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * g));
      counts = _mm_sub_epi8(counts, InRange(v, ranges[r * groups + g]));
    }
  }
  return Total(counts);
}

inline int AgreeingBytesAt(const std::uint32_t* origin, const std::ptrdiff_t* offsets, const ByteRanges& ranges) {
  using namespace byte_ranges_detail;
  // Assembled in registers: four stores and a 16-byte reload would stall on
  // store forwarding, and this runs once for nearly every rejected candidate.
  const __m128i v = _mm_setr_epi32(static_cast<int>(origin[offsets[0]]), static_cast<int>(origin[offsets[1]]),
                                   static_cast<int>(origin[offsets[2]]), static_cast<int>(origin[offsets[3]]));
  const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(InRange(v, ranges)));
  return kBitsSet[mask & 0xFFu] + kBitsSet[mask >> 8];
}

#else

inline int AgreeingBytes(const std::uint32_t* origin, std::ptrdiff_t stride, const ByteRanges* ranges, int groups,
                         int rows) {
  return AgreeingBytesPlain(origin, stride, ranges, groups, rows);
}

inline int AgreeingBytesAt(const std::uint32_t* origin, const std::ptrdiff_t* offsets, const ByteRanges& ranges) {
  return AgreeingBytesAtPlain(origin, offsets, ranges);
}

#endif

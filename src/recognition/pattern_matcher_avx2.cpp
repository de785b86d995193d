// The probe loop and the count with AVX2, chosen at run time: the rest of
// the program is built for plain x86-64 (SSE2), so only these functions
// carry the target. The candidates' leading probe groups are compared a
// unit (two groups) at a time, in digit order; a candidate that survives
// its unit (few do) goes on to its other groups and the count before the
// next unit is looked at. The count compares eight pixels at a time where
// the SSE2 one compares four; both count exactly the same bytes, and both
// stop early only once the answer is certain, so results cannot differ.
#include "recognition/pattern_matcher.h"

#include <cstring>

// Not on Windows: MinGW-w64 gcc may spill 256-bit registers to stack slots
// it has not aligned to 32 bytes (gcc bug 54412), so there the SSE2 loop
// serves.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32)
#include <immintrin.h>

bool Avx2Available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}

namespace {

// Rows counted between two looks at the running totals. A byte counter
// gains at most one per 32-byte step of a row (six for the widest rows),
// or one per pair of rows for patterns four pixels wide.
constexpr int kAvx2RowsPerLook = 16;
static_assert(kAvx2RowsPerLook * ((kPatternCapacity + 7) / 8) <= 255, "a block must not overflow the byte counters");

// 0xFF in every byte that lies within its range, as InRange in byte_ranges.h.
__attribute__((target("avx2"))) inline __m256i InRange256(__m256i v, const std::uint8_t* low, const std::uint8_t* span) {
  const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(low));
  const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(span));
  return _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_sub_epi8(v, l), s), _mm256_setzero_si256());
}

__attribute__((target("avx2"))) inline __m128i InRange128(__m128i v, const std::uint8_t* low, const std::uint8_t* span) {
  const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
  const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(span));
  return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, l), s), _mm_setzero_si128());
}

__attribute__((target("avx2"))) inline __m256i Load256(const std::uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) inline __m128i Load128(const std::uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Adds up the byte counters of both registers.
__attribute__((target("avx2"))) inline int Total(__m256i wide, __m128i narrow) {
  const __m256i sums = _mm256_sad_epu8(wide, _mm256_setzero_si256());
  const __m128i halves = _mm_add_epi64(_mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1)),
                                       _mm_sad_epu8(narrow, _mm_setzero_si128()));
  return _mm_cvtsi128_si32(halves) + _mm_cvtsi128_si32(_mm_srli_si128(halves, 8));
}

// Agreeing bytes of rows [y0, y0 + rows) of a pattern `kGroups` groups
// wide (0: any width, read from the pattern), padding included. An
// agreeing byte is 0xFF, that is −1: subtracting counts it.
template <int kGroups>
__attribute__((target("avx2"))) int CountBlock(const PreparedPattern& pattern, FrameView frame, int y0, int rows) {
  const int groups = kGroups > 0 ? kGroups : pattern.groupsPerRow;
  const std::ptrdiff_t rowBytes = 16 * groups;
  const std::size_t plane = pattern.planes.size() / 2;
  const std::uint8_t* low = pattern.planes.data() + y0 * rowBytes;
  const std::uint8_t* span = low + plane;
  const std::uint32_t* origin = frame.origin + y0 * frame.stride;
  __m256i wide = _mm256_setzero_si256();
  __m128i narrow = _mm_setzero_si128();
  int r = 0;
  if (groups == 1) {
    // Two rows to a register; their ranges lie one after the other.
    for (; r + 2 <= rows; r += 2) {
      const std::uint32_t* row = origin + r * frame.stride;
      const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(Load128(row)), Load128(row + frame.stride), 1);
      wide = _mm256_sub_epi8(wide, InRange256(v, low + 16 * r, span + 16 * r));
    }
  }
  for (; r < rows; ++r) {
    const std::uint32_t* row = origin + r * frame.stride;
    const std::uint8_t* l = low + r * rowBytes;
    const std::uint8_t* s = span + r * rowBytes;
    int g = 0;
    for (; g + 2 <= groups; g += 2) wide = _mm256_sub_epi8(wide, InRange256(Load256(row + 4 * g), l + 16 * g, s + 16 * g));
    if (g < groups) narrow = _mm_sub_epi8(narrow, InRange128(Load128(row + 4 * g), l + 16 * g, s + 16 * g));
  }
  return Total(wide, narrow);
}

// Whether the full count puts the score above the threshold, as CountPasses.
template <int kGroups>
__attribute__((target("avx2"))) bool CountPassesWith(const PreparedPattern& pattern, FrameView frame) {
  int agreeing = 0;
  int misses = 0;
  for (int y = 0; y < pattern.height; y += kAvx2RowsPerLook) {
    const int rows = std::min(kAvx2RowsPerLook, pattern.height - y);
    const int block = CountBlock<kGroups>(pattern, frame, y, rows) - rows * pattern.rowPadding;
    agreeing += block;
    misses += rows * 3 * pattern.width - block;
    if (misses > pattern.allowedMisses) return false;
    if (agreeing >= pattern.needed) return true;
  }
  return false;
}

__attribute__((target("avx2"))) bool CountPassesAvx2(const PreparedPattern& pattern, FrameView frame) {
  switch (pattern.groupsPerRow) {  // the common pattern widths: up to 12 pixels
    case 1:
      return CountPassesWith<1>(pattern, frame);
    case 2:
      return CountPassesWith<2>(pattern, frame);
    case 3:
      return CountPassesWith<3>(pattern, frame);
    default:
      return CountPassesWith<0>(pattern, frame);
  }
}

}  // namespace

namespace {

}  // namespace

__attribute__((target("avx2"))) void AreaCandidates::PlaceUnits(std::ptrdiff_t stride) {
  // Four 64-bit offsets at a time; the stride, a row of a grid, fits 32 bits.
  const __m256i wide = _mm256_set1_epi64x(stride);
  const auto used = 8 * static_cast<std::size_t>(order_->units);
  for (std::size_t i = 0; i < used; i += 4) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::memcpy(&x, order_->x.data() + i, 4);
    std::memcpy(&y, order_->y.data() + i, 4);
    const __m256i offsets = _mm256_add_epi64(_mm256_mul_epu32(_mm256_cvtepu8_epi64(_mm_cvtsi32_si128(y)), wide),
                                             _mm256_cvtepu8_epi64(_mm_cvtsi32_si128(x)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(offsets_.data() + i), offsets);
  }
}

__attribute__((target("avx2,popcnt"))) int AreaCandidates::FirstMatchAvx2(FrameView frame) const {
  const int* base = reinterpret_cast<const int*>(frame.origin);
  const ScanOrder& order = *order_;
  for (int unit = 0; unit < order.units; ++unit) {
    // Loaded one by one: a gather instruction is microcoded, and slower than
    // this, on many processors that have it.
    const std::ptrdiff_t* o = offsets_.data() + 8 * unit;
    const __m256i v = _mm256_setr_epi32(base[o[0]], base[o[1]], base[o[2]], base[o[3]], base[o[4]], base[o[5]], base[o[6]], base[o[7]]);
    const auto agree = static_cast<unsigned>(
        _mm256_movemask_epi8(InRange256(v, order.low.data() + 32 * unit, order.span.data() + 32 * unit)));
    const auto first = 2 * static_cast<std::size_t>(unit);
    const std::array<int, 2> agreeing{__builtin_popcount(agree & order.bits[first]),
                                      __builtin_popcount(agree & order.bits[first + 1])};
    // One branch per unit for the common case: nothing survives.
    const int survivors = static_cast<int>(agreeing[0] >= order.leastAgreeing[first]) |
                          static_cast<int>(agreeing[1] >= order.leastAgreeing[first + 1]);
    if (survivors == 0) continue;
    for (std::size_t half = 0; half < 2; ++half) {  // in digit order
      const std::size_t at = first + half;
      if (agreeing[half] < order.leastAgreeing[at]) continue;
      const int slot = order.slot[at];
      const PreparedPattern& pattern = PatternOf(slot);
      const int lead = order.nextGroup[at];
      if (LaterProbesPass(pattern, frame, lead, 16 * lead - agreeing[half]) && CountPassesAvx2(pattern, frame)) {
        return order.index[static_cast<std::size_t>(slot)];
      }
    }
  }
  return -1;
}

#else

bool Avx2Available() { return false; }

void AreaCandidates::PlaceUnits(std::ptrdiff_t stride) {
  const auto used = 8 * static_cast<std::size_t>(order_->units);
  for (std::size_t i = 0; i < used; ++i) offsets_[i] = order_->y[i] * stride + order_->x[i];
}

// Never chosen here; the portable loop, should it ever be.
int AreaCandidates::FirstMatchAvx2(FrameView frame) const {
  for (int i = 0; i < order_->count; ++i) {
    if (Passes(i, frame)) return order_->index[static_cast<std::size_t>(i)];
  }
  return -1;
}

#endif

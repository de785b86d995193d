// The probe loop with AVX2, chosen at run time: the rest of the program is
// built for plain x86-64 (SSE2), so only these functions carry the target.
// The candidates' first probe groups are compared two at a time, in digit
// order; a candidate that survives its first group (few do) goes on to its
// other groups and the count before the next pair is looked at. The count
// is the SSE2 one, so results cannot differ from the SSE2 loop.
#include "capture/pattern_matcher.h"

// Not on Windows: MinGW-w64 gcc may spill 256-bit registers to stack slots
// it has not aligned to 32 bytes (gcc bug 54412), so there the SSE2 loop
// serves.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32)
#include <immintrin.h>

bool Avx2Available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}

__attribute__((target("avx2,popcnt"))) int AreaCandidates::FirstMatchAvx2(FrameView frame) const {
  const int* base = reinterpret_cast<const int*>(frame.origin);
  for (int pair = 0; 2 * pair < count_; ++pair) {
    // Loaded one by one: a gather instruction is microcoded, and slower than
    // this, on many processors that have it.
    const std::int32_t* o = first_.offsets.data() + 8 * pair;
    const __m256i v = _mm256_setr_epi32(base[o[0]], base[o[1]], base[o[2]], base[o[3]], base[o[4]], base[o[5]], base[o[6]], base[o[7]]);
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first_.low.data() + 32 * pair));
    const __m256i span = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first_.span.data() + 32 * pair));
    const auto agree = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_sub_epi8(v, low), span), _mm256_setzero_si256())));
    // The two candidates in digit order; the spare slot after the last is never tried.
    for (int half = 0; half < 2; ++half) {
      const int i = 2 * pair + half;
      if (i >= count_) break;
      const int agreeing = __builtin_popcount(half == 0 ? agree & 0xFFFFu : agree >> 16);
      if (agreeing < first_.leastAgreeing[static_cast<std::size_t>(i)]) continue;
      const Candidate& c = candidates_[static_cast<std::size_t>(i)];
      const PreparedPattern& pattern = *c.pattern;
      int misses = pattern.probeGroups > 0 ? 16 - agreeing : 0;
      bool rejected = false;
      for (int g = 1; g < pattern.probeGroups && !rejected; ++g) {
        misses += 16 - AgreeingBytesAt(frame.origin, c.offsets.data() + 4 * g, pattern.probes[static_cast<std::size_t>(g)].ranges);
        rejected = misses > pattern.allowedMisses;
      }
      if (!rejected && CountPasses(pattern, frame)) return c.index;
    }
  }
  return -1;
}

#else

bool Avx2Available() { return false; }

// Never chosen here; the portable loop, should it ever be.
int AreaCandidates::FirstMatchAvx2(FrameView frame) const {
  for (int i = 0; i < count_; ++i) {
    const Candidate& c = candidates_[static_cast<std::size_t>(i)];
    if (Passes(c, frame)) return c.index;
  }
  return -1;
}

#endif

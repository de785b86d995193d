#include "recognition/picture_match.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "recognition/match_rule.h"

namespace {

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) sum += std::abs(Channel(a, shift) - Channel(b, shift));
  return sum;
}

// Whether some channel of two pixels differs by more than a third of the
// excess: a pixel whose channels differ less cannot lie the excess beyond
// the other picture's neighbourhood, which holds its counterpart.
constexpr int kNearChannel = kUnexplainedExcess / 3;

// How far `colour` lies outside the range of the 3 × 3 pixels of `grid`
// around (x, y) that lie in the picture, summed over the channels.
template <typename Grid>
int ExcessOver(std::uint32_t colour, const Grid& grid, int x, int y, int width, int height) {
  int excess = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int low = 255;
    int high = 0;
    for (int ny = std::max(0, y - 1); ny <= std::min(height - 1, y + 1); ++ny) {
      for (int nx = std::max(0, x - 1); nx <= std::min(width - 1, x + 1); ++nx) {
        const int v = Channel(grid(nx, ny), shift);
        low = std::min(low, v);
        high = std::max(high, v);
      }
    }
    const int v = Channel(colour, shift);
    excess += std::max({0, low - v, v - high});
  }
  return excess;
}

bool CountPasses(const PixelGrid& picture, const auto& shown) {
  const int allowed = 3 * picture.width * picture.height - NeededCount(picture.width, picture.height);
  int misses = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t a = shown(x, y);
      const std::uint32_t b = picture.At(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        misses += std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelTolerance ? 1 : 0;
      }
      if (misses > allowed) return false;
    }
  }
  return true;
}

// Pixel (x, y) of a picture laid at column x0 of `capture`: capture columns
// outside the capture read black, as for a pattern.
auto ShownFrom(const PixelGrid& capture, int x0) {
  return [&capture, x0](int x, int y) {
    const int cx = x0 + x;
    return cx >= 0 && cx < capture.width ? capture.At(cx, y) : std::uint32_t{0};
  };
}

// Bit i: pixel i of the four at `a` and `b` may differ beyond the excess.
unsigned FarApart(const std::uint32_t* a, const std::uint32_t* b) {
#if defined(__SSE2__)
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  const __m128i distance = _mm_or_si128(_mm_subs_epu8(x, y), _mm_subs_epu8(y, x));
  const __m128i beyond = _mm_subs_epu8(distance, _mm_set1_epi8(static_cast<char>(kNearChannel)));
  // A pixel's four bytes are all within when its 32 bits of `beyond` are 0.
  const __m128i within = _mm_cmpeq_epi32(beyond, _mm_setzero_si128());
  return ~static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(within))) & 0xFu;
#else
  unsigned bits = 0;
  for (int i = 0; i < 4; ++i) {
    for (int shift = 0; shift <= 16; shift += 8) {
      if (std::abs(Channel(a[i], shift) - Channel(b[i], shift)) > kNearChannel) bits |= 1u << i;
    }
  }
  return bits;
#endif
}

}  // namespace

bool FewUnexplained(const PixelGrid& capture, const PixelGrid& picture, int x0, int allowed) {
  return UnexplainedPixels(capture, picture, x0, allowed) <= allowed;
}

int UnexplainedPixels(const PixelGrid& capture, const PixelGrid& picture, int x0, int limit) {
  if (!GridConsistent(capture) || !GridConsistent(picture) || picture.height > capture.height) return limit + 1;
  const auto shown = ShownFrom(capture, x0);
  const auto own = [&](int x, int y) { return picture.At(x, y); };
  int unexplained = 0;
  // The outermost columns are left to the count: a neighbouring glyph of
  // a tightly set font reaches into them.
  const auto check = [&](int x, int y) {
    const std::uint32_t a = shown(x, y);
    const std::uint32_t b = own(x, y);
    if (ChannelDistance(a, b) <= kUnexplainedExcess) return true;
    if (ExcessOver(a, own, x, y, picture.width, picture.height) <= kUnexplainedExcess &&
        ExcessOver(b, shown, x, y, picture.width, picture.height) <= kUnexplainedExcess) {
      return true;
    }
    return ++unexplained <= limit;
  };
  const int last = picture.width - 1;  // the outermost column on the right
  const bool inside = x0 >= 0 && x0 + picture.width <= capture.width && last - 1 >= 4;
  for (int y = 0; y < picture.height; ++y) {
    if (!inside) {
      for (int x = 1; x < last; ++x) {
        if (!check(x, y)) return limit + 1;
      }
      continue;
    }
    // Four pixels at a time, and only those that may differ looked at; the
    // columns left over in one group that overlaps the last, its pixels
    // already looked at masked out.
    const std::uint32_t* row = capture.pixels.data() + static_cast<std::ptrdiff_t>(y) * capture.width + x0;
    const std::uint32_t* ownRow = picture.pixels.data() + static_cast<std::ptrdiff_t>(y) * picture.width;
    for (int x = 1; x < last; x += 4) {
      const int from = std::min(x, last - 4);
      unsigned bits = FarApart(row + from, ownRow + from) & ~((1u << (x - from)) - 1u);
      for (; bits != 0; bits &= bits - 1) {
        if (!check(from + std::countr_zero(bits), y)) return limit + 1;
      }
    }
  }
  return unexplained;
}

bool PictureAt(const PixelGrid& capture, const PixelGrid& picture, int x0) {
  if (!GridConsistent(capture) || !GridConsistent(picture) || picture.width == 0 || picture.height > capture.height) {
    return false;
  }
  return CountPasses(picture, ShownFrom(capture, x0)) && FewUnexplained(capture, picture, x0);
}

PixelGrid PictureOf(const Pattern& pattern) {
  PixelGrid picture;
  if (!UsablePattern(pattern)) return picture;
  picture.width = pattern.width;
  picture.height = pattern.height;
  picture.pixels.reserve(static_cast<std::size_t>(pattern.width) * static_cast<std::size_t>(pattern.height));
  for (int y = 0; y < pattern.height; ++y) {
    for (int x = 0; x < pattern.width; ++x) {
      const PixelColor& c = pattern.pixels[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
      picture.pixels.push_back(std::uint32_t{c.blue} | std::uint32_t{c.green} << 8 | std::uint32_t{c.red} << 16);
    }
  }
  return picture;
}

bool PatternShown(const Pattern& pattern, const PixelGrid& capture, int x0) {
  return UsablePattern(pattern) && PictureAt(capture, PictureOf(pattern), x0);
}

#include "recognition/picture_match.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "recognition/match_rule.h"

namespace {

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) sum += std::abs(Channel(a, shift) - Channel(b, shift));
  return sum;
}

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

}  // namespace

bool PictureAt(const PixelGrid& capture, const PixelGrid& picture, int x0) {
  if (!GridConsistent(capture) || !GridConsistent(picture) || picture.width == 0 || picture.height > capture.height) {
    return false;
  }
  const auto shown = [&](int x, int y) {
    const int cx = x0 + x;
    return cx >= 0 && cx < capture.width ? capture.At(cx, y) : std::uint32_t{0};
  };
  const auto own = [&](int x, int y) { return picture.At(x, y); };
  const int allowed = 3 * picture.width * picture.height - NeededCount(picture.width, picture.height);
  int misses = 0;
  int unexplained = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t a = shown(x, y);
      const std::uint32_t b = own(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        misses += std::abs(Channel(a, shift) - Channel(b, shift)) > kChannelTolerance ? 1 : 0;
      }
      if (misses > allowed) return false;
      // Only a pixel this far from its counterpart can lie this far from
      // the counterpart's neighbourhood: the rest need no second look. The
      // outermost columns are left to the count: a neighbouring glyph of a
      // tightly set font reaches into them.
      if (x == 0 || x == picture.width - 1 || ChannelDistance(a, b) <= kUnexplainedExcess) continue;
      if (ExcessOver(a, own, x, y, picture.width, picture.height) > kUnexplainedExcess ||
          ExcessOver(b, shown, x, y, picture.width, picture.height) > kUnexplainedExcess) {
        if (++unexplained > 1) return false;
      }
    }
  }
  return true;
}

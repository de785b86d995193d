#include "recognition/ink_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {


// A pixel is ink when one channel is this far from the background. Noise of
// a few steps per channel stays well below; a legible digit is far above.
constexpr int kInkContrast = 28;
// Pixels this close to a background estimate count as background while the
// estimate is refined.
constexpr int kSeedReach = 40;
constexpr int kFitReach = 22;

std::array<int, 3> Channels(std::uint32_t p) {
  return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>((p >> 16) & 0xFF)};
}

// The background as a plane per channel, v = mean + kx (x − mx) + ky (y − my):
// a plain colour, or a gradient in any direction.
struct Background {
  std::array<double, 3> mean{};
  std::array<double, 3> kx{};
  std::array<double, 3> ky{};
  double mx = 0;
  double my = 0;

  int Distance(std::uint32_t pixel, int x, int y) const {
    const std::array<int, 3> c = Channels(pixel);
    double worst = 0;
    for (int ch = 0; ch < 3; ++ch) {
      const double expected = mean[ch] + kx[ch] * (x - mx) + ky[ch] * (y - my);
      worst = std::max(worst, std::abs(c[ch] - expected));
    }
    return static_cast<int>(worst);
  }
};

struct Picture {
  const PixelGrid& grid;
  int rows = 0;  // the top rows looked at

  std::uint32_t At(int x, int y) const { return grid.At(x, y); }
  int Width() const { return grid.width; }
};

Background FitPlane(const Picture& pic, const std::vector<char>& use) {
  Background b;
  double n = 0;
  std::array<double, 3> sum{};
  for (int y = 0; y < pic.rows; ++y) {
    for (int x = 0; x < pic.Width(); ++x) {
      if (!use[static_cast<std::size_t>(y) * pic.Width() + x]) continue;
      const std::array<int, 3> c = Channels(pic.At(x, y));
      n += 1;
      b.mx += x;
      b.my += y;
      for (int ch = 0; ch < 3; ++ch) sum[ch] += c[ch];
    }
  }
  if (n == 0) return b;
  b.mx /= n;
  b.my /= n;
  for (int ch = 0; ch < 3; ++ch) b.mean[ch] = sum[ch] / n;
  double sxx = 0, sxy = 0, syy = 0;
  std::array<double, 3> sxv{}, syv{};
  for (int y = 0; y < pic.rows; ++y) {
    for (int x = 0; x < pic.Width(); ++x) {
      if (!use[static_cast<std::size_t>(y) * pic.Width() + x]) continue;
      const std::array<int, 3> c = Channels(pic.At(x, y));
      const double dx = x - b.mx, dy = y - b.my;
      sxx += dx * dx;
      sxy += dx * dy;
      syy += dy * dy;
      for (int ch = 0; ch < 3; ++ch) {
        sxv[ch] += dx * (c[ch] - b.mean[ch]);
        syv[ch] += dy * (c[ch] - b.mean[ch]);
      }
    }
  }
  const double det = sxx * syy - sxy * sxy;
  for (int ch = 0; ch < 3; ++ch) {
    if (std::abs(det) > 1e-6) {
      b.kx[ch] = (sxv[ch] * syy - syv[ch] * sxy) / det;
      b.ky[ch] = (syv[ch] * sxx - sxv[ch] * sxy) / det;
    } else if (sxx > 0) {  // one row: no vertical slope to find
      b.kx[ch] = sxv[ch] / sxx;
    } else if (syy > 0) {  // one column
      b.ky[ch] = syv[ch] / syy;
    }
  }
  return b;
}

// The colour most pixels lie near, tried on a sample of the pixels: ink is
// the smaller part of a capture of digits.
std::uint32_t SeedColour(const Picture& pic) {
  const int total = pic.rows * pic.Width();
  const int stride = std::max(1, total / 97);
  std::uint32_t best = pic.At(0, 0);
  int bestCount = -1;
  for (int s = 0; s < total; s += stride) {
    const std::uint32_t candidate = pic.At(s % pic.Width(), s / pic.Width());
    const std::array<int, 3> c = Channels(candidate);
    int count = 0;
    for (int y = 0; y < pic.rows; ++y) {
      for (int x = 0; x < pic.Width(); ++x) {
        const std::array<int, 3> v = Channels(pic.At(x, y));
        if (std::abs(v[0] - c[0]) <= kSeedReach && std::abs(v[1] - c[1]) <= kSeedReach &&
            std::abs(v[2] - c[2]) <= kSeedReach) {
          ++count;
        }
      }
    }
    if (count > bestCount) {
      bestCount = count;
      best = candidate;
    }
  }
  return best;
}

// ink[y * width + x]: the pixel differs from the background.
std::vector<char> InkMask(const Picture& pic) {
  const std::size_t size = static_cast<std::size_t>(pic.rows) * pic.Width();
  std::vector<char> use(size, 0);
  const std::array<int, 3> seed = Channels(SeedColour(pic));
  for (int y = 0; y < pic.rows; ++y) {
    for (int x = 0; x < pic.Width(); ++x) {
      const std::array<int, 3> v = Channels(pic.At(x, y));
      use[static_cast<std::size_t>(y) * pic.Width() + x] = std::abs(v[0] - seed[0]) <= kSeedReach &&
                                                           std::abs(v[1] - seed[1]) <= kSeedReach &&
                                                           std::abs(v[2] - seed[2]) <= kSeedReach;
    }
  }
  Background background = FitPlane(pic, use);
  for (int round = 0; round < 4; ++round) {
    for (int y = 0; y < pic.rows; ++y) {
      for (int x = 0; x < pic.Width(); ++x) {
        use[static_cast<std::size_t>(y) * pic.Width() + x] = background.Distance(pic.At(x, y), x, y) <= kFitReach;
      }
    }
    background = FitPlane(pic, use);
  }
  std::vector<char> ink(size, 0);
  for (int y = 0; y < pic.rows; ++y) {
    for (int x = 0; x < pic.Width(); ++x) {
      ink[static_cast<std::size_t>(y) * pic.Width() + x] = background.Distance(pic.At(x, y), x, y) > kInkContrast;
    }
  }
  return ink;
}

}  // namespace

InkMap FindInk(const PixelGrid& grid, int rows) {
  InkMap map;
  map.width = grid.width;
  map.rows = std::clamp(std::min(rows, grid.height), 0, 64);
  map.columns.assign(static_cast<std::size_t>(std::max(grid.width, 0)), 0);
  if (map.rows == 0 || map.width <= 0) return map;
  const Picture pic{grid, map.rows};
  const std::vector<char> ink = InkMask(pic);
  for (int y = 0; y < map.rows; ++y) {
    for (int x = 0; x < map.width; ++x) {
      if (ink[static_cast<std::size_t>(y) * map.width + x]) map.columns[static_cast<std::size_t>(x)] |= std::uint64_t{1} << y;
    }
  }
  return map;
}

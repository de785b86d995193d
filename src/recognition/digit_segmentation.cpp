#include "recognition/digit_segmentation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "base/pixel_grid.h"
#include "recognition/recognition.h"

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
  PixelGrid grid;
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

struct Columns {
  int width = 0;
  int rows = 0;
  std::vector<char> ink;       // per pixel
  std::vector<char> inkColumn;
  int inkRows = 0;             // rows holding any ink

  bool Ink(int x, int y) const { return ink[static_cast<std::size_t>(y) * width + x] != 0; }
  bool InkColumn(int x) const { return x >= 0 && x < width && inkColumn[static_cast<std::size_t>(x)] != 0; }
  // Rows in which a stroke runs from column b − 1 into column b: what a cut
  // at b would sever.
  int Severed(int b) const {
    if (b <= 0 || b >= width) return 0;
    int count = 0;
    for (int y = 0; y < rows; ++y) count += Ink(b - 1, y) && Ink(b, y);
    return count;
  }
  // First ink column in [from, to), or −1.
  int FirstInk(int from, int to) const {
    for (int x = std::max(from, 0); x < std::min(to, width); ++x) {
      if (InkColumn(x)) return x;
    }
    return -1;
  }
};

// One way of laying the cells, and how well it fits; lower is better,
// compared in the order of the fields.
struct Candidate {
  int severs = 0;    // 1 when any stroke is cut by a boundary
  int severed = 0;   // strokes cut by the cell boundaries
  int hintMiss = 0;  // pitch other than the one already taught
  int slack = 0;     // columns between each boundary and the glyph after it
  int leading = 0;   // blank columns the first cell takes in front of its glyph
  int pitch = 0;
  int origin = 0;
  int delimiterEnd = 0;  // one past the delimiter cell

  // Clean cuts first; among cuts through touching glyphs the widest pitch
  // that still gives the typed count (narrow pitches cut single glyphs).
  auto Key() const {
    const int widest = severs ? -pitch : 0;
    return std::make_tuple(severs, hintMiss, widest, leading, slack, severed, pitch);
  }
};

// Each digit cell must hold one glyph: ink, and no blank column between two
// ink columns (a digit is one connected shape across its columns).
bool HoldsOneGlyph(const Columns& cols, int from, int to) {
  const int first = cols.FirstInk(from, to);
  if (first < 0) return false;
  int last = first;
  for (int x = first; x < to; ++x) {
    if (cols.InkColumn(x)) last = x;
  }
  for (int x = first; x <= last; ++x) {
    if (!cols.InkColumn(x)) return false;
  }
  return true;
}

// Touching glyphs meet in some rows; a cut through nearly every row of the
// ink is a cut through one glyph's stroke.
bool MayBeABoundary(const Columns& cols, int b) { return cols.Severed(b) * 4 <= cols.inkRows * 3; }

std::optional<Candidate> Evaluate(const Columns& cols, int n, int pitch, int origin, int firstInk, int hint) {
  const int delimiterStart = origin + n * pitch;
  if (delimiterStart >= cols.width) return std::nullopt;
  Candidate c;
  c.pitch = pitch;
  c.origin = origin;
  c.leading = firstInk - origin;
  c.hintMiss = hint > 0 && pitch != hint ? 1 : 0;
  for (int i = 0; i < n; ++i) {
    const int from = origin + i * pitch;
    if (!HoldsOneGlyph(cols, from, from + pitch)) return std::nullopt;
    if (i > 0) {
      if (!MayBeABoundary(cols, from)) return std::nullopt;
      c.severed += cols.Severed(from);
      c.slack += cols.FirstInk(from, from + pitch) - from;
    }
  }
  const int glyph = cols.FirstInk(delimiterStart, delimiterStart + pitch);
  if (glyph < 0) return std::nullopt;
  int glyphEnd = glyph;
  while (cols.InkColumn(glyphEnd + 1)) ++glyphEnd;
  // The delimiter is a glyph of its own, no wider than a digit cell: where
  // the glyph found there runs on, the cells are laid wrong (or the count
  // typed is).
  if (glyphEnd > delimiterStart + pitch - 1) return std::nullopt;
  // As many glyphs as typed digits and the delimiter, counting a run of ink
  // wider than the pitch as the touching glyphs it must be.
  int glyphs = 0;
  for (int x = firstInk; x <= glyphEnd; ++x) {
    if (!cols.InkColumn(x) || cols.InkColumn(x - 1)) continue;
    int end = x;
    while (cols.InkColumn(end + 1)) ++end;
    glyphs += (end - x + pitch) / pitch;
  }
  if (glyphs != n + 1 || !MayBeABoundary(cols, delimiterStart)) return std::nullopt;
  c.severed += cols.Severed(delimiterStart);
  c.severs = c.severed > 0 ? 1 : 0;
  c.slack += glyph - delimiterStart;
  c.delimiterEnd = std::min({delimiterStart + pitch, glyphEnd + 1, cols.width});
  return c;
}

Pattern CellPattern(const PixelGrid& grid, int x, int width, int height) {
  Pattern p;
  p.width = width;
  p.height = height;
  for (int dx = 0; dx < width; ++dx) {
    for (int y = 0; y < height; ++y) {
      const std::uint32_t v = grid.At(x + dx, y);
      p.pixels[dx][y] = PixelColor{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((v >> 16) & 0xFF)};
    }
  }
  return p;
}

// Whether recognition, holding these cells as patterns, would read the
// capture as typed: one digit's cells alike, different digits' cells
// different, and no digit where the delimiter stands (digits are tried
// before the delimiter at every column).
SegmentationRefusal CheckReadable(const PixelGrid& grid, const DigitCells& cells, const KnownDigits& known) {
  const int n = static_cast<int>(cells.digits.size());
  for (int d = 0; d < 10; ++d) {
    const QImage& picture = known[static_cast<std::size_t>(d)];
    if (picture.isNull() || picture.width() > kMaxCellSide || picture.height() > kMaxCellSide) continue;
    PixelGrid own;
    ReadPixels(picture, own);
    const Pattern pattern = CellPattern(own, 0, own.width, own.height);
    for (int i = 0; i <= n; ++i) {
      if (MatchScore(pattern, grid, cells.bounds[i]) <= kMatchThreshold) continue;
      if (i == n) return SegmentationRefusal::DelimiterLooksLikeADigit;
      if (cells.digits[i].digitValue() != d) return SegmentationRefusal::DifferentDigitsAlike;
    }
  }
  std::vector<Pattern> patterns;
  patterns.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    patterns.push_back(CellPattern(grid, cells.bounds[i], cells.bounds[i + 1] - cells.bounds[i], cells.height));
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      if (i == j) continue;
      const bool alike = MatchScore(patterns[i], grid, cells.bounds[j]) > kMatchThreshold;
      const bool same = cells.digits[i] == cells.digits[j];
      if (same && !alike) return SegmentationRefusal::RepeatedDigitDiffers;
      if (!same && alike) return SegmentationRefusal::DifferentDigitsAlike;
    }
    if (MatchScore(patterns[i], grid, cells.bounds[n]) > kMatchThreshold) {
      return SegmentationRefusal::DelimiterLooksLikeADigit;
    }
  }
  return SegmentationRefusal::None;
}

}  // namespace

bool TypedNumberUsable(const QString& text) {
  if (text.isEmpty() || text.size() > kMaxCaptureDigits) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

Segmentation FindDigitCells(const QImage& capture, const QString& typed, int pitchHint, const KnownDigits& known) {
  Segmentation result;
  if (!TypedNumberUsable(typed)) {
    result.refusal = SegmentationRefusal::NotADigitString;
    return result;
  }
  Picture pic;
  ReadPixels(capture, pic.grid);
  pic.rows = std::min(pic.grid.height, kMaxCellSide);
  if (pic.rows <= 0 || pic.grid.width <= 0) {
    result.refusal = SegmentationRefusal::NothingAtTheTop;
    return result;
  }
  Columns cols;
  cols.width = pic.Width();
  cols.rows = pic.rows;
  cols.ink = InkMask(pic);
  cols.inkColumn.assign(static_cast<std::size_t>(cols.width), 0);
  for (int x = 0; x < cols.width; ++x) {
    for (int y = 0; y < cols.rows; ++y) cols.inkColumn[static_cast<std::size_t>(x)] |= cols.Ink(x, y);
  }
  for (int y = 0; y < cols.rows; ++y) {
    for (int x = 0; x < cols.width; ++x) {
      if (cols.Ink(x, y)) {
        ++cols.inkRows;
        break;
      }
    }
  }
  const int firstInk = cols.FirstInk(0, cols.width);
  if (firstInk < 0) {
    result.refusal = SegmentationRefusal::NothingAtTheTop;
    return result;
  }

  const int n = static_cast<int>(typed.size());
  std::optional<Candidate> best;
  for (int pitch = 2; pitch <= kMaxCellSide; ++pitch) {
    for (int origin = std::max(0, firstInk - pitch + 1); origin <= firstInk; ++origin) {
      const std::optional<Candidate> c = Evaluate(cols, n, pitch, origin, firstInk, pitchHint);
      if (c && (!best || c->Key() < best->Key())) best = c;
    }
  }
  if (!best) {
    result.refusal = SegmentationRefusal::CountDoesNotFit;
    return result;
  }

  DigitCells& cells = result.cells;
  cells.digits = typed;
  for (int i = 0; i <= n; ++i) cells.bounds.push_back(best->origin + i * best->pitch);
  cells.bounds.push_back(best->delimiterEnd);
  // Down to one row below the lowest ink (a shadow or a margin), when the
  // capture has it: patterns of one area should share their height.
  int lowest = 0;
  for (int y = 0; y < cols.rows; ++y) {
    for (int x = cells.bounds.front(); x < cells.bounds.back(); ++x) {
      if (cols.Ink(x, y)) lowest = y;
    }
  }
  cells.height = std::min(cols.rows, lowest + 2);
  result.refusal = CheckReadable(pic.grid, cells, known);
  return result;
}

QImage CellPicture(const QImage& capture, const DigitCells& cells, int index) {
  if (index < 0 || index + 1 >= static_cast<int>(cells.bounds.size())) return {};
  const int x = cells.bounds[static_cast<std::size_t>(index)];
  const int width = cells.bounds[static_cast<std::size_t>(index) + 1] - x;
  return capture.copy(QRect(x, 0, width, cells.height)).convertToFormat(QImage::Format_RGB32);
}

bool MoveBoundary(DigitCells& cells, int boundary, int step, int captureWidth) {
  if (boundary < 0 || boundary >= static_cast<int>(cells.bounds.size())) return false;
  std::vector<int> moved = cells.bounds;
  moved[static_cast<std::size_t>(boundary)] += step;
  if (moved.front() < 0 || moved.back() > captureWidth) return false;
  for (std::size_t i = 0; i + 1 < moved.size(); ++i) {
    const int width = moved[i + 1] - moved[i];
    if (width < 1 || width > kMaxCellSide) return false;
  }
  cells.bounds = std::move(moved);
  return true;
}

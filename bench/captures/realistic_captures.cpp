#include "realistic_captures.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr int kGlyphs = 11;                   // the digits, then the delimiter
constexpr char16_t kDelimiterChar = u'[';     // drawn like the bracket after a counter
constexpr int kNoise = 8;                     // a screen grab's channel noise, either way
constexpr int kVerticalShade = 28;            // the counter bar darkens this much towards its bottom
constexpr int kHorizontalDrift = 2;           // and wanders this much along it

// What one area's glyphs cover: coverage 0 … 255 per pixel of a cell.
struct GlyphCells {
  int pitch = 0;
  int height = 0;
  std::array<std::vector<std::uint8_t>, kGlyphs> coverage;  // pitch × height, row by row
};

QChar GlyphChar(int g) { return g < 10 ? QChar(u'0' + g) : QChar(kDelimiterChar); }

GlyphCells DrawGlyphs(const CounterStyle& style) {
  QFont font(style.family);
  font.setPixelSize(style.pixelSize);
  font.setBold(style.bold);
  const int canvas = 4 * style.pixelSize;
  std::array<QImage, kGlyphs> images;
  int top = canvas;
  int bottom = -1;
  std::array<int, kGlyphs> left{};
  std::array<int, kGlyphs> right{};
  for (int g = 0; g < kGlyphs; ++g) {
    QImage& image = images[static_cast<std::size_t>(g)];
    image = QImage(canvas, canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(style.pixelSize, 2.0 * style.pixelSize), QString(GlyphChar(g)));
    painter.end();
    left[static_cast<std::size_t>(g)] = canvas;
    right[static_cast<std::size_t>(g)] = -1;
    for (int y = 0; y < canvas; ++y) {
      for (int x = 0; x < canvas; ++x) {
        if (qAlpha(image.pixel(x, y)) < 24) continue;  // the faintest fringe counts as background
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left[static_cast<std::size_t>(g)] = std::min(left[static_cast<std::size_t>(g)], x);
        right[static_cast<std::size_t>(g)] = std::max(right[static_cast<std::size_t>(g)], x);
      }
    }
  }
  int ink = 1;
  for (int g = 0; g < kGlyphs; ++g) ink = std::max(ink, right[static_cast<std::size_t>(g)] - left[static_cast<std::size_t>(g)] + 1);
  GlyphCells cells;
  cells.pitch = ink + style.gap;
  cells.height = std::min(bottom - top + 3, kPatternCapacity);  // a row of background above and below
  for (int g = 0; g < kGlyphs; ++g) {
    const std::size_t k = static_cast<std::size_t>(g);
    const int width = right[k] - left[k] + 1;
    const int x0 = left[k] - (ink - width) / 2;  // centred in the ink columns, the gap on the right
    auto& cov = cells.coverage[k];
    cov.assign(static_cast<std::size_t>(cells.pitch) * cells.height, 0);
    for (int y = 0; y < cells.height; ++y) {
      for (int x = 0; x < ink; ++x) {
        const int sx = x0 + x;
        const int sy = top - 1 + y;
        if (sx < 0 || sy < 0 || sx >= canvas || sy >= canvas) continue;
        cov[static_cast<std::size_t>(y) * cells.pitch + x] = static_cast<std::uint8_t>(qAlpha(images[k].pixel(sx, sy)));
      }
    }
  }
  return cells;
}

struct Rgb {
  int r, g, b;
};

// The colours of the two counters: a warm level on brown, a white counter on blue.
constexpr std::array<Rgb, 2> kBackground{{{92, 60, 34}, {30, 52, 96}}};
constexpr std::array<Rgb, 2> kInk{{{255, 236, 170}, {250, 250, 250}}};

Rgb BackgroundAt(int area, int x, int y, int height) {
  const Rgb base = kBackground[static_cast<std::size_t>(area)];
  const int shade = height > 1 ? -kVerticalShade * y / (height - 1) : 0;
  const int drift = static_cast<int>(std::lround(kHorizontalDrift * std::sin(x * 0.21)));
  return {base.r + shade + drift, base.g + shade + drift, base.b + shade - drift};
}

// One grab of the area: `text` in cells from column `left`.
PixelGrid Grab(const std::array<GlyphCells, 2>& glyphs, int area, int width, const QString& text, int left,
               std::uint32_t seed) {
  const GlyphCells& cells = glyphs[static_cast<std::size_t>(area)];
  PixelGrid grid;
  grid.width = width;
  grid.height = cells.height;
  grid.pixels.resize(static_cast<std::size_t>(width) * grid.height);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-kNoise, kNoise);
  const Rgb ink = kInk[static_cast<std::size_t>(area)];
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb c = BackgroundAt(area, x, y, grid.height);
      const int cell = x - left >= 0 ? (x - left) / cells.pitch : -1;
      if (cell >= 0 && cell < text.size()) {
        const int g = text[cell] == u'D' ? 10 : text[cell].digitValue();
        const int a = cells.coverage[static_cast<std::size_t>(g)][static_cast<std::size_t>(y) * cells.pitch + (x - left) % cells.pitch];
        c = {c.r + (ink.r - c.r) * a / 255, c.g + (ink.g - c.g) * a / 255, c.b + (ink.b - c.b) * a / 255};
      }
      const auto channel = [&](int v) { return static_cast<std::uint32_t>(std::clamp(v + noise(random), 0, 255)); };
      const std::uint32_t blue = channel(c.b);
      const std::uint32_t green = channel(c.g);
      const std::uint32_t red = channel(c.r);
      grid.pixels[static_cast<std::size_t>(y) * width + x] = blue | green << 8 | red << 16;
    }
  }
  return grid;
}

std::array<GlyphCells, 2> GlyphsOf(const RealisticSet& set) { return {DrawGlyphs(set.styles[0]), DrawGlyphs(set.styles[1])}; }

}  // namespace

RealisticSet MakeRealisticSet(const QString& name, const CounterStyle& level, const CounterStyle& exp,
                              std::uint32_t seed) {
  RealisticSet out;
  out.name = name;
  out.styles = {level, exp};
  out.seed = seed;
  const std::array<GlyphCells, 2> glyphs = GlyphsOf(out);
  for (int a = 0; a < 2; ++a) {
    const GlyphCells& cells = glyphs[static_cast<std::size_t>(a)];
    const std::size_t k = static_cast<std::size_t>(a);
    // Room for ten digits and the delimiter (three for the level), and a margin.
    out.regionWidths[k] = (a == 0 ? 4 : 11) * cells.pitch + 6;
    out.regionHeights[k] = cells.height;
    // The teaching grab: every glyph once, side by side.
    const PixelGrid teaching = Grab(glyphs, a, kGlyphs * cells.pitch, QStringLiteral("0123456789D"), 0, seed + 97 * a);
    for (int g = 0; g < kGlyphs; ++g) {
      Pattern& p = g < 10 ? out.set.digitPatterns[k * 10 + static_cast<std::size_t>(g)] : out.set.delimiterPatterns[k];
      p.width = cells.pitch;
      p.height = cells.height;
      for (int x = 0; x < p.width; ++x) {
        for (int y = 0; y < p.height; ++y) {
          const std::uint32_t v = teaching.At(g * cells.pitch + x, y);
          p.pixels[x][y] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)};
        }
      }
    }
    out.set.cellWidth[k] = cells.pitch;
    out.set.cellHeight[k] = cells.height;
  }
  return out;
}

PixelGrid RealisticCapture(const RealisticSet& set, int area, const QString& text, int left, std::uint32_t seed) {
  return Grab(GlyphsOf(set), area, set.regionWidths[static_cast<std::size_t>(area)], text, left, seed);
}

std::vector<RealisticSet> RealisticSets() {
  return {
      MakeRealisticSet(QStringLiteral("gothic 13/11, gap 1"), {QStringLiteral("IPAGothic"), 13, false, 1},
                       {QStringLiteral("IPAGothic"), 11, false, 1}, 11),
      MakeRealisticSet(QStringLiteral("mincho 14/12, no gap"), {QStringLiteral("IPAMincho"), 14, false, 0},
                       {QStringLiteral("IPAMincho"), 12, false, 0}, 12),
      MakeRealisticSet(QStringLiteral("sans bold 12/10, gap 1"), {QStringLiteral("DejaVu Sans"), 12, true, 1},
                       {QStringLiteral("DejaVu Sans"), 10, true, 1}, 13),
      MakeRealisticSet(QStringLiteral("p-gothic 18/14, no gap"), {QStringLiteral("IPAPGothic"), 18, false, 0},
                       {QStringLiteral("IPAPGothic"), 14, false, 0}, 14),
  };
}

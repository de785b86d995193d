#include "support/digit_fonts.h"

#include <algorithm>

#include "pixel_font.h"

namespace {

int GlyphWidth(const Glyph& g) {
  std::size_t width = 0;
  for (const std::string& row : g) width = std::max(width, row.size());
  return static_cast<int>(width);
}

bool GlyphInk(const Glyph& g, int x, int y) {
  return y >= 0 && y < static_cast<int>(g.size()) && x >= 0 && x < static_cast<int>(g[y].size()) && g[y][x] == '#';
}

// Adds to `coverage` (0 … 1 per pixel of a capture `width` wide) a glyph
// with its top-left at (left, top); anti-aliased: its edge pixels half-tone
// and the pixels around it a faint fringe.
void Cover(std::vector<double>& coverage, int width, const Glyph& g, int left, int top, bool antiAlias) {
  const int height = static_cast<int>(coverage.size()) / width;
  for (int y = -1; y <= static_cast<int>(g.size()); ++y) {
    for (int x = -1; x <= GlyphWidth(g); ++x) {
      const int around = GlyphInk(g, x - 1, y) + GlyphInk(g, x + 1, y) + GlyphInk(g, x, y - 1) + GlyphInk(g, x, y + 1);
      const double v = GlyphInk(g, x, y) ? (antiAlias && around < 4 ? 0.7 : 1.0) : (antiAlias && around > 0 ? 0.03 : 0);
      const int px = left + x, py = top + y;
      if (px < 0 || py < 0 || px >= width || py >= height) continue;
      double& c = coverage[static_cast<std::size_t>(py) * width + px];
      c = std::max(c, v);
    }
  }
}

int Mix(int from, int to, double t) { return static_cast<int>(from + (to - from) * t + 0.5); }

QColor Mix(const QColor& from, const QColor& to, double t) {
  return QColor(Mix(from.red(), to.red(), t), Mix(from.green(), to.green(), t), Mix(from.blue(), to.blue(), t));
}

}  // namespace

// The two fonts the default patterns are drawn from, with the marks a
// counter may group its digits with.
PixelFont FontOf(const char* name, const GlyphSet& glyphs, int pitch) {
  PixelFont f;
  f.name = name;
  f.pitch = pitch;
  for (std::size_t d = 0; d < 10; ++d) f.digits[d] = Glyph(glyphs.digits[d].begin(), glyphs.digits[d].end());
  f.delimiter = Glyph(glyphs.delimiter.begin(), glyphs.delimiter.end());
  return f;
}

PixelFont BoldFont(int pitch) {
  PixelFont f = FontOf("bold", LevelGlyphs(), pitch);
  f.comma = {"..", "..", "..", "..", "..", "..", "..", "..", "##", "##", ".#"};
  f.point = {"..", "..", "..", "..", "..", "..", "..", "..", "..", "##", "##"};
  return f;
}

PixelFont SmallFont(int pitch) {
  PixelFont f = FontOf("small", ExpGlyphs(), pitch);
  f.comma = {"..", "..", "..", "..", "..", ".#", "#."};
  f.point = {".", ".", ".", ".", ".", ".", "#"};
  return f;
}

PixelFont TinyFont(int pitch) {
  PixelFont f;
  f.name = "tiny";
  f.pitch = pitch;
  f.digits = {{
      {"###", "#.#", "#.#", "#.#", "###"},
      {".#.", "##.", ".#.", ".#.", "###"},
      {"###", "..#", "###", "#..", "###"},
      {"###", "..#", "###", "..#", "###"},
      {"#.#", "#.#", "###", "..#", "..#"},
      {"###", "#..", "###", "..#", "###"},
      {"###", "#..", "###", "#.#", "###"},
      {"###", "..#", "..#", "..#", "..#"},
      {"###", "#.#", "###", "#.#", "###"},
      {"###", "#.#", "###", "..#", "###"},
  }};
  f.delimiter = {"#", ".", ".", ".", "#"};
  f.comma = {".", ".", ".", "#", "#"};
  f.point = {".", ".", ".", ".", "#"};
  return f;
}

QImage DrawCapture(const PixelFont& font, const QString& text, const CaptureLook& look) {
  const int glyphHeight = static_cast<int>(font.digits[0].size());
  const int boxWidth = look.boxes == 0 ? 0 : font.pitch + (look.boxes == 2 ? 1 : 0);
  // Where each character goes, and where the number ends.
  std::vector<std::pair<int, const Glyph*>> placed;
  std::vector<int> boxes;
  int x = look.left;
  for (const QChar c : text) {
    if (c == u',' || c == u'.') {
      const Glyph& g = c == u',' ? font.comma : font.point;
      placed.emplace_back(x + (look.separatorSlot - GlyphWidth(g)) / 2, &g);
      x += look.separatorSlot;
      continue;
    }
    const Glyph& g = font.digits[static_cast<std::size_t>(c.digitValue())];
    if (look.boxes != 0) boxes.push_back(x);
    placed.emplace_back(x + (look.boxes == 0 ? 0 : (boxWidth - GlyphWidth(g)) / 2), &g);
    x += font.pitch;
  }
  const int numberEnd = x + (look.boxes == 2 ? 1 : 0);
  const int delimiterAt = numberEnd + look.delimiterGap;
  int width = delimiterAt + (look.delimiter ? GlyphWidth(font.delimiter) : 0) + look.extraWidth;
  if (look.delimiter) placed.emplace_back(delimiterAt, &font.delimiter);
  if (!look.delimiter && look.textAfter >= 0) {
    placed.emplace_back(numberEnd + look.textAfter, &font.delimiter);
    width = std::max(width, numberEnd + look.textAfter + GlyphWidth(font.delimiter) + 2);
  }
  const int top = look.top + (look.boxes != 0 ? 2 : 0);
  const int height = top + glyphHeight + look.extraHeight + (look.boxes != 0 ? 2 : 0);

  // A box's frame: one row and column around the glyph's padding.
  const int bottom = top + glyphHeight + 1;
  const auto onFrame = [&](int px, int y) {
    return std::any_of(boxes.begin(), boxes.end(), [&](int b) {
      const bool across = px >= b && px < b + boxWidth, down = y >= look.top && y <= bottom;
      return (across && (y == look.top || y == bottom)) || (down && (px == b || px == b + boxWidth - 1));
    });
  };
  std::vector<double> coverage(static_cast<std::size_t>(width) * height, 0.0);
  for (const auto& [left, glyph] : placed) Cover(coverage, width, *glyph, left, top, look.antiAlias);
  // The background or a frame, the ink over it, then every channel moved by the noise.
  QImage image(width, height, QImage::Format_RGB32);
  unsigned state = look.seed * 2654435761u + 12345u;
  for (int y = 0; y < height; ++y) {
    for (int px = 0; px < width; ++px) {
      const double t = look.gradientAcross ? double(px) / std::max(1, width - 1) : double(y) / std::max(1, height - 1);
      const int grain = look.texture == 0 ? 0 : ((px * 5 + y * 3) % 7 - 3) * look.texture / 3;
      const QColor b = Mix(look.background, look.backgroundEnd, t);
      const auto g = [grain](int v) { return std::clamp(v + grain, 0, 255); };
      const QColor ground = onFrame(px, y) ? look.boxInk : QColor(g(b.red()), g(b.green()), g(b.blue()));
      const QColor mixed = Mix(ground, look.ink, coverage[static_cast<std::size_t>(y) * width + px]);
      int c[3] = {mixed.red(), mixed.green(), mixed.blue()};
      for (int& v : c) {
        if (look.noise == 0) break;
        state = state * 1103515245u + 12345u;
        const int shift = static_cast<int>((state >> 16) % static_cast<unsigned>(2 * look.noise + 1)) - look.noise;
        v = std::clamp(v + shift, 0, 255);
      }
      image.setPixelColor(px, y, QColor(c[0], c[1], c[2]));
    }
  }
  return image;
}

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

// Ink coverage of the whole capture, 0 … 1 per pixel.
class Coverage {
 public:
  Coverage(int width, int height) : width_(width), height_(height), c_(static_cast<std::size_t>(width) * height, 0.0) {}

  // A glyph with its top-left at (left, top); anti-aliased: its edge pixels
  // half-tone and the pixels around it a faint fringe.
  void Add(const Glyph& g, int left, int top, bool antiAlias) {
    for (int y = -1; y <= static_cast<int>(g.size()); ++y) {
      for (int x = -1; x <= GlyphWidth(g); ++x) {
        double v = 0;
        if (GlyphInk(g, x, y)) {
          const bool edge = !GlyphInk(g, x - 1, y) || !GlyphInk(g, x + 1, y) || !GlyphInk(g, x, y - 1) ||
                            !GlyphInk(g, x, y + 1);
          v = antiAlias && edge ? 0.7 : 1.0;
        } else if (antiAlias && (GlyphInk(g, x - 1, y) || GlyphInk(g, x + 1, y) || GlyphInk(g, x, y - 1) ||
                                 GlyphInk(g, x, y + 1))) {
          v = 0.03;
        }
        Put(left + x, top + y, v);
      }
    }
  }
  double At(int x, int y) const { return c_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  void Put(int x, int y, double v) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    double& c = c_[static_cast<std::size_t>(y) * width_ + x];
    c = std::max(c, v);
  }
  int width_;
  int height_;
  std::vector<double> c_;
};

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
  if (look.trailer && look.delimiter) placed.emplace_back(delimiterAt + GlyphWidth(font.delimiter) + 2, &font.digits[8]);
  if (!look.delimiter && look.textAfter >= 0) {
    placed.emplace_back(numberEnd + look.textAfter, &font.delimiter);
    width = std::max(width, numberEnd + look.textAfter + GlyphWidth(font.delimiter) + 2);
  }
  const int top = look.top + (look.boxes != 0 ? 2 : 0);
  const int height = top + glyphHeight + look.extraHeight + (look.boxes != 0 ? 2 : 0);

  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int px = 0; px < width; ++px) {
      const double t = look.gradientAcross ? double(px) / std::max(1, width - 1) : double(y) / std::max(1, height - 1);
      const int grain = look.texture == 0 ? 0 : ((px * 5 + y * 3) % 7 - 3) * look.texture / 3;
      const QColor c = Mix(look.background, look.backgroundEnd, t);
      image.setPixelColor(px, y, QColor(std::clamp(c.red() + grain, 0, 255), std::clamp(c.green() + grain, 0, 255),
                                        std::clamp(c.blue() + grain, 0, 255)));
    }
  }
  // Frames one row and column around the glyph's padding.
  const int bottom = top + glyphHeight + 1;
  for (const int b : boxes) {
    for (int px = b; px < b + boxWidth; ++px) {
      image.setPixelColor(px, look.top, look.boxInk);
      image.setPixelColor(px, bottom, look.boxInk);
    }
    for (int y = look.top; y <= bottom; ++y) {
      image.setPixelColor(b, y, look.boxInk);
      image.setPixelColor(b + boxWidth - 1, y, look.boxInk);
    }
  }
  Coverage coverage(width, height);
  for (const auto& [left, glyph] : placed) coverage.Add(*glyph, left, top, look.antiAlias);
  for (int y = 0; y < height; ++y) {
    for (int px = 0; px < width; ++px) {
      const double c = coverage.At(px, y);
      if (c > 0) image.setPixelColor(px, y, Mix(image.pixelColor(px, y), look.ink, c));
    }
  }
  if (look.noise > 0) {
    unsigned state = look.seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int px = 0; px < width; ++px) {
        int c[3] = {qRed(row[px]), qGreen(row[px]), qBlue(row[px])};
        for (int& v : c) {
          state = state * 1103515245u + 12345u;
          const int shift = static_cast<int>((state >> 16) % static_cast<unsigned>(2 * look.noise + 1)) - look.noise;
          v = std::clamp(v + shift, 0, 255);
        }
        row[px] = qRgb(c[0], c[1], c[2]);
      }
    }
  }
  return image;
}

#include "support/digit_fonts.h"

#include <algorithm>

namespace {

int GlyphWidth(const Glyph& g) {
  std::size_t width = 0;
  for (const std::string& row : g) width = std::max(width, row.size());
  return static_cast<int>(width);
}

void DrawGlyph(QImage& image, const Glyph& g, int left, int top, const QColor& ink) {
  for (int y = 0; y < static_cast<int>(g.size()); ++y) {
    for (int x = 0; x < static_cast<int>(g[y].size()); ++x) {
      if (g[y][x] == '#' && image.rect().contains(left + x, top + y)) image.setPixelColor(left + x, top + y, ink);
    }
  }
}

int Mix(int from, int to, double t) { return static_cast<int>(from + (to - from) * t + 0.5); }

}  // namespace

PixelFont BoldFont(int pitch) {
  PixelFont f;
  f.name = "bold";
  f.pitch = pitch;
  f.digits = {{
      {".#####.", "##...##", "##...##", "##..###", "##.#.##", "##.#.##", "##.#.##", "###..##", "##...##", "##...##", ".#####."},
      {"...##..", "..###..", ".####..", "...##..", "...##..", "...##..", "...##..", "...##..", "...##..", "...##..", ".######"},
      {".#####.", "##...##", ".....##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "##.....", "#######"},
      {".#####.", "##...##", ".....##", ".....##", "..####.", ".....##", ".....##", ".....##", ".....##", "##...##", ".#####."},
      {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "##..##.", "#######", "....##.", "....##.", "....##.", "....##."},
      {"#######", "##.....", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", ".....##", "##...##", ".#####."},
      {"..####.", ".##....", "##.....", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."},
      {"#######", ".....##", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...", "..##...", "..##...", "..##..."},
      {".#####.", "##...##", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."},
      {".#####.", "##...##", "##...##", "##...##", "##...##", ".######", ".....##", ".....##", ".....##", "....##.", ".####.."},
  }};
  f.delimiter = {"####", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "####"};
  return f;
}

PixelFont SmallFont(int pitch) {
  PixelFont f;
  f.name = "small";
  f.pitch = pitch;
  f.digits = {{
      {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
      {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
      {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
      {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
      {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
      {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
      {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
      {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
      {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
      {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
  }};
  f.delimiter = {"###", "#..", "#..", "#..", "#..", "#..", "###"};
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
  return f;
}

QImage DrawCapture(const PixelFont& font, const QString& digits, const CaptureLook& look) {
  const int glyphHeight = static_cast<int>(font.digits[0].size());
  const int count = static_cast<int>(digits.size());
  const int delimiterAt = look.left + count * font.pitch;
  const int width = delimiterAt + GlyphWidth(font.delimiter) + look.extraWidth;
  const int height = look.top + glyphHeight + look.extraHeight;
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double t = look.gradientAcross ? double(x) / std::max(1, width - 1) : double(y) / std::max(1, height - 1);
      image.setPixelColor(x, y, QColor(Mix(look.background.red(), look.backgroundEnd.red(), t),
                                       Mix(look.background.green(), look.backgroundEnd.green(), t),
                                       Mix(look.background.blue(), look.backgroundEnd.blue(), t)));
    }
  }
  for (int i = 0; i < count; ++i) {
    DrawGlyph(image, font.digits[digits[i].digitValue()], look.left + i * font.pitch, look.top, look.ink);
  }
  DrawGlyph(image, font.delimiter, delimiterAt, look.top, look.ink);
  if (look.trailer) {
    DrawGlyph(image, font.digits[8], delimiterAt + GlyphWidth(font.delimiter) + 2, look.top, look.ink);
  }
  if (look.noise > 0) {
    unsigned state = look.seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < width; ++x) {
        int c[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
        for (int& v : c) {
          state = state * 1103515245u + 12345u;
          const int shift = static_cast<int>((state >> 16) % static_cast<unsigned>(2 * look.noise + 1)) - look.noise;
          v = std::clamp(v + shift, 0, 255);
        }
        row[x] = qRgb(c[0], c[1], c[2]);
      }
    }
  }
  return image;
}

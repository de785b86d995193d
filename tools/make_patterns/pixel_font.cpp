#include "pixel_font.h"

#include <algorithm>

namespace {

// Level counter: bold strokes two pixels wide, tall enough to read at a glance.
const GlyphSet kLevel = {{{
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
}},
    {"####", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "..##", "####"}};

// Experience counter: the classic 5 x 7 cell, ten digits must fit the bar.
const GlyphSet kExp = {{{
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
}},
    {"###", "#..", "#..", "#..", "#..", "#..", "###"}};

// Every channel of ink, shadow and background differs by far more than the
// matching tolerance of 20, so a misplaced pixel always costs all three.
const GlyphStyle kLevelStyle{QColor(255, 176, 32), QColor(0, 0, 0), QColor(16, 24, 64)};
const GlyphStyle kExpStyle{QColor(255, 255, 255), QColor(0, 0, 0), QColor(16, 24, 64)};

}  // namespace

QImage RenderGlyph(const std::vector<std::string_view>& rows, const GlyphStyle& style) {
  int inkWidth = 0;
  for (const auto row : rows) inkWidth = std::max(inkWidth, static_cast<int>(row.size()));
  const int inkHeight = static_cast<int>(rows.size());
  QImage cell(inkWidth + 2, inkHeight + 2, QImage::Format_RGB32);
  cell.fill(style.background);
  const auto isInk = [&](int x, int y) {
    return y >= 0 && y < inkHeight && x >= 0 && x < static_cast<int>(rows[y].size()) && rows[y][x] == '#';
  };
  for (int y = 0; y <= inkHeight; ++y) {
    for (int x = 0; x < inkWidth; ++x) {
      if (isInk(x, y)) {
        cell.setPixelColor(x + 1, y + 1, style.ink);
      } else if (isInk(x, y - 1)) {
        cell.setPixelColor(x + 1, y + 1, style.shadow);
      }
    }
  }
  return cell;
}

DefaultPatterns MakeDefaultPatterns() {
  DefaultPatterns set;
  for (int d = 0; d < 10; ++d) {
    set.digits[d] = RenderGlyph(kLevel.digits[d], kLevelStyle);
    set.digits[10 + d] = RenderGlyph(kExp.digits[d], kExpStyle);
  }
  set.delimiters[0] = RenderGlyph(kLevel.delimiter, kLevelStyle);
  set.delimiters[1] = RenderGlyph(kExp.delimiter, kExpStyle);
  return set;
}

const GlyphSet& LevelGlyphs() { return kLevel; }
const GlyphSet& ExpGlyphs() { return kExp; }

QColor StatusBarBackground() { return kLevelStyle.background; }

#pragma once
// The status-bar digit font of the practice game: crisp pixel glyphs with a
// drop shadow, each in a cell of its own background, so that a digit can be
// matched pixel for pixel including the space around it.

#include <QColor>
#include <QImage>
#include <array>
#include <string_view>
#include <vector>

struct GlyphStyle {
  QColor ink;
  QColor shadow;      // one pixel below every ink pixel that has no ink there
  QColor background;
};

// rows: '#' ink, anything else background. The cell is one column of
// background on either side of the glyph, one row above it and one row below
// it for the shadow.
QImage RenderGlyph(const std::vector<std::string_view>& rows, const GlyphStyle& style);

// The glyphs as rows ('#' ink), for drawing them other ways (the tests draw
// captures with them).
using GlyphRows = std::vector<std::string_view>;
struct GlyphSet {
  std::array<GlyphRows, 10> digits;
  GlyphRows delimiter;
};
const GlyphSet& LevelGlyphs();
const GlyphSet& ExpGlyphs();

struct DefaultPatterns {
  std::array<QImage, 20> digits;      // index area * 10 + digit
  std::array<QImage, 2> delimiters;   // index area
};

// Area 0 (level): bold 7 x 11 glyphs in 9 x 13 cells ending in "]".
// Area 1 (experience): 5 x 7 glyphs in 7 x 9 cells ending in "[".
DefaultPatterns MakeDefaultPatterns();

// The colours the practice game's status bar is painted with.
QColor StatusBarBackground();

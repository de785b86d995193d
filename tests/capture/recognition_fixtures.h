#pragma once
// Builders for recognition tests: patterns drawn from a seed, captures to
// draw them into, and a recorder of everything the scan tells its hooks.

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <random>

#include "capture/pixel_grid.h"
#include "capture/recognition.h"
#include "persistence/pattern_set.h"

namespace recognition_fixtures {

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

inline PixelColor ColorOf(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb >> 16)};
}

inline std::uint32_t RgbOf(const PixelColor& c) {
  return std::uint32_t{c.blue} | (std::uint32_t{c.green} << 8) | (std::uint32_t{c.red} << 16);
}

inline Pattern Solid(int width, int height, std::uint32_t rgb) {
  Pattern p;
  p.width = width;
  p.height = height;
  for (int x = 0; x < std::min(width, kPatternCapacity); ++x) {
    for (int y = 0; y < std::min(height, kPatternCapacity); ++y) p.pixels[x][y] = ColorOf(rgb);
  }
  return p;
}

// White strokes on black, about half the pixels, different for every seed:
// two such glyphs (or one glyph shifted) agree on about half their pixels,
// far below a match.
inline Pattern Glyph(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Pattern p = Solid(width, height, kBlack);
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      if (random() % 2) p.pixels[x][y] = ColorOf(kWhite);
    }
  }
  return p;
}

inline void UpdateCells(PatternSet& set) {
  for (int a = 0; a < 2; ++a) {
    set.cellWidth[a] = set.delimiterPatterns[a].width;
    set.cellHeight[a] = set.delimiterPatterns[a].height;
    for (int d = 0; d < 10; ++d) {
      set.cellWidth[a] = std::max(set.cellWidth[a], set.digitPatterns[a * 10 + d].width);
      set.cellHeight[a] = std::max(set.cellHeight[a], set.digitPatterns[a * 10 + d].height);
    }
  }
}

// Both areas: ten distinct glyphs and a delimiter glyph of width × height.
inline PatternSet GlyphSet(int width, int height) {
  PatternSet set;
  for (int i = 0; i < 20; ++i) set.digitPatterns[i] = Glyph(width, height, 100u + static_cast<unsigned>(i));
  for (int a = 0; a < 2; ++a) set.delimiterPatterns[a] = Glyph(width, height, 200u + static_cast<unsigned>(a));
  UpdateCells(set);
  return set;
}

inline PixelGrid Canvas(int width, int height, std::uint32_t rgb = kBlack) {
  PixelGrid grid;
  grid.width = width;
  grid.height = height;
  grid.pixels.assign(static_cast<std::size_t>(width) * height, rgb);
  return grid;
}

inline void Set(PixelGrid& grid, int x, int y, std::uint32_t rgb) {
  grid.pixels[static_cast<std::size_t>(y) * grid.width + x] = rgb;
}

// Draws the pattern with its left edge at column x0, clipped to the grid.
inline void Draw(PixelGrid& grid, const Pattern& p, int x0) {
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height && y < grid.height; ++y) {
      if (x0 + x >= 0 && x0 + x < grid.width) Set(grid, x0 + x, y, RgbOf(p.pixels[x][y]));
    }
  }
}

// Everything the scan tells its hooks, in order, as short texts.
struct HookLog {
  QStringList events;
  RecognitionHooks Hooks() {
    RecognitionHooks h;
    h.lagWait = [this] { events << QStringLiteral("wait"); };
    h.caption = [this](int area, const QString& text) { events << QStringLiteral("caption %1 %2").arg(area).arg(text); };
    h.preview = [this](int area, int digit, int x) { events << QStringLiteral("preview %1 %2 %3").arg(area).arg(digit).arg(x); };
    return h;
  }
};

}  // namespace recognition_fixtures

#pragma once
// Captures the way a screen grab of the game's counters looks, for the
// recognition benchmark and the equivalence test: digits drawn in a real
// font with anti-aliased edges, on a background with a gradient, every
// channel of every pixel with its own noise of up to ±8. The patterns are
// cut out of one such grab, as a player teaches them, so they carry noise
// and background of their own.
//
// Needs a QGuiApplication (the glyphs are drawn with the system's fonts).

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

// How one area's counter is drawn.
struct CounterStyle {
  QString family;
  int pixelSize = 12;
  bool bold = false;
  int gap = 1;  // blank columns between the ink of neighbouring digits: 1 or 0
};

// Two areas' styles and the set taught from them.
struct RealisticSet {
  QString name;
  PatternSet set;
  std::array<int, 2> regionWidths{};
  std::array<int, 2> regionHeights{};
  std::array<CounterStyle, 2> styles;
  std::uint32_t seed = 0;
};

// Builds the set: draws every glyph once, as the player's teaching grab,
// and cuts the patterns out of it.
RealisticSet MakeRealisticSet(const QString& name, const CounterStyle& level, const CounterStyle& exp,
                              std::uint32_t seed);

// A grab of area `area` showing `text` (digits, 'D' for the delimiter) from
// column `left`, with fresh noise from `seed`; the rest is background.
PixelGrid RealisticCapture(const RealisticSet& set, int area, const QString& text, int left, std::uint32_t seed);

// The sets the benchmark measures: several fonts and sizes, with and
// without a pixel of gap between digits.
std::vector<RealisticSet> RealisticSets();

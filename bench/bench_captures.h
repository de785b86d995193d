#pragma once
// Captures of the two default areas (44 x 13 and 90 x 9) drawn with the
// delivered default patterns, the way the game lays its digits out: cells
// side by side, each cellWidth − 1 columns after the one before.

#include <QString>
#include <array>

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

inline constexpr std::array<int, 2> kDefaultRegionWidths{44, 90};
inline constexpr std::array<int, 2> kDefaultRegionHeights{13, 9};

// Loads system/ into a pattern set; false when a file is missing.
bool LoadDefaultPatterns(const QString& systemFolder, PatternSet& set);

// `text` holds digits and 'D' for the delimiter; the rest is background.
PixelGrid DrawArea(const PatternSet& set, int area, const QString& text);

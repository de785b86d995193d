#pragma once
// Which pixels of a capture's top rows are ink: those that differ from the
// background, which may carry noise and a gradient in any direction. Ink
// is the smaller part of a capture of digits.

#include <cstdint>
#include <vector>

#include "base/pixel_grid.h"

struct InkMap {
  int width = 0;
  int rows = 0;                        // the top rows looked at (at most 64)
  std::vector<std::uint64_t> columns;  // per column, bit y: pixel (x, y) is ink

  bool Ink(int x, int y) const { return (columns[static_cast<std::size_t>(x)] >> y & 1U) != 0; }
  std::uint64_t Column(int x) const { return x >= 0 && x < width ? columns[static_cast<std::size_t>(x)] : 0; }
};

// The ink of the top `rows` rows of `grid` (rows is cut to the grid's height
// and to 64).
InkMap FindInk(const PixelGrid& grid, int rows);

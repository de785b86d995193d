#pragma once
// The reference patterns: for each capture area ten digits and a delimiter.
// Index of a digit pattern = area * 10 + digit.

#include <QImage>
#include <array>
#include <cstdint>

inline constexpr int kPatternCapacity = 41;  // the cells a pattern's pixels are kept in

// The largest pattern, in either direction: one rule for the pattern store,
// the pattern editor and recognition. One less than the cells: 41 x 41 was
// the classic editor's mark of an empty slot, so no editor ever kept a
// picture of that size, and a file holding one is no taught pattern.
inline constexpr int kLargestPatternSide = kPatternCapacity - 1;

struct PixelColor {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
};

struct Pattern {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // pixels[x][y]; only x < width, y < height are meaningful.
  std::array<std::array<PixelColor, kPatternCapacity>, kPatternCapacity> pixels{};
};

struct PatternSet {
  std::array<Pattern, 20> digitPatterns{};
  std::array<Pattern, 2> delimiterPatterns{};
  std::array<std::int32_t, 2> cellWidth{};   // widest of the area's 11 patterns
  std::array<std::int32_t, 2> cellHeight{};  // tallest of the area's 11 patterns
};

// The pattern pictures themselves, as the main window's holders
// picPattern(0..19) and picPatternDL(0..1) show them.
struct PatternImages {
  std::array<QImage, 20> digits;
  std::array<QImage, 2> delimiters;
};

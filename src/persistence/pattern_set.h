#pragma once
// The reference patterns: for each capture area ten digits and a delimiter.
// Index of a digit pattern = area * 10 + digit.

#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "base/pixel_grid.h"

inline constexpr int kPatternCapacity = 41;  // the cells a pattern's pixels are kept in

// The largest pattern, in either direction: one rule for the pattern store,
// the pattern editor and recognition. One less than the cells: 41 x 41 was
// the classic editor's mark of an empty slot, so no editor ever kept a
// picture of that size, and a file holding one is no taught pattern.
inline constexpr int kLargestPatternSide = kPatternCapacity - 1;

constexpr bool WithinLargestPattern(int width, int height) {
  return width <= kLargestPatternSide && height <= kLargestPatternSide;
}

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

// Whether a pattern can match at all: one of no size is a slot that takes
// no part in reading, and none is larger than the largest.
constexpr bool UsablePattern(const Pattern& p) {
  return p.width >= 1 && p.height >= 1 && WithinLargestPattern(p.width, p.height);
}

// What the teacher learned of an area beyond its patterns, from every
// capture taught: what stands before the number and how its digits are
// spaced. An area taught before this was kept (and the delivered set)
// reads by what its patterns alone tell.
struct AreaLayout {
  bool learned = false;
  bool separators = false;  // digit groups stand apart by a comma or point
  int digitGap = 0;         // the widest background between two digits seen
  // Every capture taught showed the delimiter after the number: a reading
  // that runs out without it may have lost digits at the area's edge.
  bool endsWithDelimiter = false;
  // The narrowest background seen between the number and other text after
  // it (a name, a percentage after a space); 0 where none was seen.
  int textGap = 0;
  QImage prefix;            // the marks before the number ("Lv.", "EXP"); null: none
};

// More looks of one digit, beside its pattern: the same glyph where the
// game draws it at another fraction of a pixel, or over another part of a
// gradient, reads by a pattern of its own. Each is as tall as its digit's
// pattern and read by the same rule; a level-up teaches them.
inline constexpr int kMaxVariants = 3;

// How many columns a look may be wider or narrower than its digit's
// pattern: at another fraction of a pixel an anti-aliased glyph spreads
// over a column more, two at twice the size, and over noise or a texture
// its faintest side may stand out in one capture and not in another.
inline constexpr int kVariantWidthSlack = 3;

// A digit's glyph half a pixel right of where it was taught: each column
// the mean of its own and the one before, one column wider, with the
// background (the commonest colour of the top and bottom rows) beside it.
// An anti-aliased or smoothly scaled glyph drawn at another fraction of a
// pixel lies nearer this than the look taught.
Pattern HalfPixelLook(const Pattern& pattern);

inline bool VariantFits(QSize variant, QSize pattern) {
  const int width = variant.width();
  return variant.height() == pattern.height() && width >= 1 && width <= kLargestPatternSide &&
         width >= pattern.width() - kVariantWidthSlack && width <= pattern.width() + kVariantWidthSlack;
}

struct PatternSet {
  std::array<Pattern, 20> digitPatterns{};
  // Per digit pattern, in use only beside it: the looks kept, then, for a
  // digit taught from the game's glyphs, its HalfPixelLook.
  std::array<std::vector<Pattern>, 20> variants{};
  std::array<Pattern, 2> delimiterPatterns{};
  std::array<std::int32_t, 2> cellWidth{};   // widest of the area's patterns that take part
  std::array<std::int32_t, 2> cellHeight{};  // tallest of them
  // The area was taught from captures, which begin with the number: ink
  // just before the first digit read is a digit no pattern knows.
  std::array<bool, 2> taughtFromCaptures{};
  std::array<AreaLayout, 2> layouts{};
  std::array<PixelGrid, 2> prefixes{};  // the layouts' prefixes as pixels (empty: none)
};

// Where a pattern came from. Unknown is what an install older than this
// record has: such patterns count as the player's own.
enum class PatternOrigin : std::uint8_t { Unknown, Delivered, Pasted, Captured, LearnedAtLevelUp };

// The pattern pictures themselves, as the main window's holders
// picPattern(0..19) and picPatternDL(0..1) show them, with where each came
// from (index as the files: 0 … 19 the digits, 20 and 21 the delimiters).
struct PatternImages {
  std::array<QImage, 20> digits;
  std::array<QImage, 2> delimiters;
  std::array<PatternOrigin, 22> origins{};
  std::array<AreaLayout, 2> layouts{};
  // The digits' variants (index as `digits`); they belong to the picture
  // they were learned beside and go when it changes (StoreArea).
  std::array<std::vector<QImage>, 20> variants{};
};

inline constexpr int kSlotsPerArea = 11;  // digits 0 to 9, then the delimiter
using AreaOrigins = std::array<PatternOrigin, kSlotsPerArea>;

// Where an area's pattern `index` (0 … 9 its digits, 10 its delimiter) is
// held: digits at area * 10 + d, the delimiters at 20 + area.
constexpr int SlotOf(int area, int index) { return index < 10 ? area * 10 + index : 20 + area; }

AreaOrigins OriginsOf(const PatternImages& images, int area);
void StoreOrigins(PatternImages& images, int area, const AreaOrigins& origins);

// Whether any of an area's eleven patterns was taught from a capture.
bool TaughtFromCaptures(const AreaOrigins& origins);

// Whether an area's pattern `index` takes part in reading: once the area
// has been taught from captures, a pattern still holding the delivered
// default does not (it would read the game's digits wrongly, and a wider
// default would make the scan jump past the next digit). The pattern store,
// the editor's save and the teaching tool all go by this one rule.
bool TakesPart(const AreaOrigins& origins, int index);

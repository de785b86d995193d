#pragma once
// Finding the digit cells in a capture from the number the player reads in
// it: the cells the patterns of those digits and of the delimiter are cut
// from. Pure: works on the picture alone.
//
// The capture is looked at as marks (recognition/ink_columns.h), as reading
// sees it. The number is a run of marks of the digits' height, one a digit,
// with a low, narrow mark (a comma, a point) or only a gap where a
// separator was typed; before it may stand other marks ("Lv.", "EXP"),
// which the area's model then expects there, and after it the delimiter (a
// mark such as "[" close to the last digit, cut from its own ink only), a
// wide gap, or the capture's end. Each cell is its digit's own ink columns,
// so that cells of another capture of the same font are cut alike.

#include <QImage>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "base/pixel_grid.h"
#include "persistence/pattern_set.h"

enum class SegmentationRefusal {
  None,
  NotADigitString,    // empty, or holds something other than digits and separators between them
  TooManyDigits,      // a digit string, but longer than kMaxCaptureDigits
  NothingAtTheTop,    // no ink in the top rows at all
  CountDoesNotFit,    // no layout puts each typed digit in a glyph of its own
  RepeatedDigitDiffers,  // one digit typed twice, but its two cells look different
  DifferentDigitsAlike,  // two digits typed different, but their cells look the same
  DelimiterLooksLikeADigit,  // the glyph after the last digit is (part of) a digit
  NotReadBack,           // no layout's cells read the capture back as typed
  DigitsTouch,           // the digits' marks run into each other: no cell holds one digit alone
  PrefixDiffers,         // the marks before the number differ from those taught before
  Ambiguous,             // the typed number fits two places equally well, and no model tells them apart
};

inline constexpr int kMaxCellSide = kLargestPatternSide;
inline constexpr int kMaxCaptureDigits = 40;

// The number as typed: its digits, and after which of them a separator
// stands. Full-width digits (as an input method types them) count as
// digits; ",", ".", "，", "．", "、" and blanks between digits as separators.
struct TypedNumber {
  QString digits;                   // 0 … 9 only, at least one
  std::vector<bool> separatorAfter;  // one per digit; never after the last
};
std::optional<TypedNumber> ParseTypedNumber(const QString& text);

// Whether `text` is a number the cells can be looked for: at most
// kMaxCaptureDigits digits.
inline bool TypedNumberUsable(const QString& text) { return ParseTypedNumber(text).has_value(); }

struct CellSpan {
  int x = 0;
  int width = 0;
  friend bool operator==(const CellSpan&, const CellSpan&) = default;
};

struct DigitCells {
  QString digits;               // as typed, 0 … 9 only
  std::vector<CellSpan> spans;  // one per digit, then the delimiter's when there is one
  bool hasDelimiter = false;
  int height = 0;               // rows from the top, the same for every cell
  std::optional<CellSpan> prefix;  // the marks before the number, when any
  bool separators = false;      // a separator mark stood between digit groups
  int digitGap = 0;             // the widest background between two digits
  int textGap = 0;              // the background before other text after the number (0: none)

  int CellCount() const { return static_cast<int>(spans.size()); }
  bool IsDelimiter(int index) const { return hasDelimiter && index == CellCount() - 1; }
  // The distinct columns where a cell begins or ends, ascending: what a
  // boundary move takes.
  std::vector<int> Edges() const;
};

struct Segmentation {
  DigitCells cells;           // meaningful only without a refusal
  SegmentationRefusal refusal = SegmentationRefusal::None;
  // Another layout (another advance, or the delimiter taken otherwise)
  // explained the capture about as well: the cells should be checked.
  bool uncertain = false;
};

// The digit patterns already taught for an area (null where none): their
// width is the cell width the new cells should have, a cell one of them
// reads as another digit, or a delimiter one of them reads as a digit,
// means the number was typed wrong.
using KnownDigits = std::array<QImage, 10>;

// `typed` the number the player reads (ParseTypedNumber); `area` the
// capture area (0 the level, 1 the experience): what may stand close after
// the number differs. `layout` is what earlier captures taught of the area:
// marks before the number must be the ones it names.
Segmentation FindDigitCells(const QImage& capture, const QString& typed, int area = 1, const KnownDigits& known = {},
                            const AreaLayout& layout = {});

// How nearly glyph `a` reads where glyph `b` stands, a column either way,
// over the narrower of the two (MatchScore's scale): two glyphs that score
// above kNearMatch are one glyph drawn a little otherwise.
int GlyphLikeness(const PixelGrid& grid, CellSpan a, CellSpan b, int rows);

// Cell `index` (0 … n − 1 the digits, n the delimiter when there is one) as
// a picture cut from the capture's top rows.
QImage CellPicture(const QImage& capture, const DigitCells& cells, int index);

// Columns [x, x + width) of `grid`'s top `height` rows as a pattern;
// columns past the grid's right edge are black.
Pattern CellPattern(const PixelGrid& grid, int x, int width, int height);

// Moves edge `edge` (an index into Edges()) by `step` columns: every cell
// that begins or ends there moves that side. True when every cell keeps
// 1 … kMaxCellSide columns inside the capture; false (nothing changed) when not.
bool MoveBoundary(DigitCells& cells, int edge, int step, int captureWidth);

#pragma once
// Finding the digit cells in a capture from the number the player reads in
// it: the cells the patterns of those digits and of the delimiter are cut
// from. Pure: works on the picture alone.
//
// The number begins at the capture's first ink and its digits share one
// advance; separators typed between digit groups (a comma, a point, a
// space) take a slot of their own, the same for every separator. After the
// last digit comes the delimiter, at any distance up to a digit cell of
// background, or nothing (then a gap of a cell or more, or the capture's
// end: the delimiter slot is left as it is and reading runs to the area's
// end). Every layout of cells the number allows is weighed; the one taken
// must read the capture back through recognition itself, cut where the
// digits' columns agree whatever the neighbour (background, a box's frame),
// so that its cells read other numbers of the font too.

#include <QImage>
#include <QString>
#include <array>
#include <optional>
#include <vector>

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

// `typed` the number the player reads (ParseTypedNumber); `pitchHint` the
// width of the digit patterns already taught for this area (0 when none):
// of layouts that fit the capture equally well, one with cells that wide is
// taken.
Segmentation FindDigitCells(const QImage& capture, const QString& typed, int pitchHint = 0,
                            const KnownDigits& known = {});

// Cell `index` (0 … n − 1 the digits, n the delimiter when there is one) as
// a picture cut from the capture's top rows.
QImage CellPicture(const QImage& capture, const DigitCells& cells, int index);

// Moves edge `edge` (an index into Edges()) by `step` columns: every cell
// that begins or ends there moves that side. True when every cell keeps
// 1 … 41 columns inside the capture; false (nothing changed) when not.
bool MoveBoundary(DigitCells& cells, int edge, int step, int captureWidth);

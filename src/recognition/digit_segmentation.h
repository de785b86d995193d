#pragma once
// Finding the digit cells in a capture from the number the player reads in
// it: the cells the patterns of those digits and of the delimiter are cut
// from. Pure: works on the picture alone.
//
// The cells stand at the top edge (recognition compares every pattern with
// the capture's top rows), side by side from the left at one pitch, and the
// delimiter is the glyph after the last digit. Ink is what differs from the
// background, which may carry noise and a gradient in either direction.

#include <QImage>
#include <QString>
#include <array>
#include <vector>

#include "persistence/pattern_set.h"

enum class SegmentationRefusal {
  None,
  NotADigitString,    // empty, or holds something other than 0 … 9
  NothingAtTheTop,    // no ink in the top rows at all
  CountDoesNotFit,    // no pitch puts each typed digit in a glyph with a delimiter after them
  RepeatedDigitDiffers,  // one digit typed twice, but its two cells look different
  DifferentDigitsAlike,  // two digits typed different, but their cells look the same
  DelimiterLooksLikeADigit,  // the glyph after the last digit is one of the digits
};

struct DigitCells {
  QString digits;             // as typed, 0 … 9 only
  // digits.size() + 2 ascending columns: digit i spans [bounds[i],
  // bounds[i + 1]), the delimiter [bounds[n], bounds[n + 1]).
  std::vector<int> bounds;
  int height = 0;             // rows from the top, the same for every cell

  int CellCount() const { return static_cast<int>(bounds.size()) - 1; }  // digits, then the delimiter
};

struct Segmentation {
  DigitCells cells;           // meaningful only without a refusal
  SegmentationRefusal refusal = SegmentationRefusal::None;
};

inline constexpr int kMaxCellSide = kLargestPatternSide;

// The digit patterns already taught for an area (null where none): a cell
// one of them reads as another digit, or a delimiter one of them reads as a
// digit, means the number was typed wrong.
using KnownDigits = std::array<QImage, 10>;

// `typed` the number the player reads; `pitchHint` the width of the digit
// patterns already taught for this area (0 when none): of several pitches
// that fit the capture equally well, that one is taken.
Segmentation FindDigitCells(const QImage& capture, const QString& typed, int pitchHint = 0,
                            const KnownDigits& known = {});

// Cell `index` (0 … n − 1 the digits, n the delimiter) as a picture cut
// from the capture's top rows.
QImage CellPicture(const QImage& capture, const DigitCells& cells, int index);

// Moves boundary `boundary` (0 … n + 1) by `step` columns when every cell
// keeps 1 … 41 columns inside the capture; false (nothing changed) when not.
bool MoveBoundary(DigitCells& cells, int boundary, int step, int captureWidth);

// Whether `text` is a number the cells can be looked for: digits only, at
// least one, and no more than fit a capture (kMaxCaptureDigits).
bool TypedNumberUsable(const QString& text);
inline constexpr int kMaxCaptureDigits = 40;

#pragma once
// Ink the scan passed over: a digit without a pattern (not taught yet, or
// taught wrongly) is not background, and the scan, which skips every column
// no pattern matches, would read the number without it. Both scans and the
// teacher's check of its cells use this one rule.
//
// What is looked at: the columns no read digit covers between two digits,
// between the last digit and the delimiter (or, without one, the rest of
// the area up to the first gap of background as wide as a digit cell: text
// further on is not part of the number), and, in an area taught from
// captures (which begin with the number), the columns before the first
// digit up to such a gap. Ink is what differs from the capture's
// background (recognition/ink_map.h), and what counts is a glyph two
// columns wide or more reaching into half the rows: a separator between
// digit groups (a comma, a point, a thin space) is narrower than a digit
// cell or lower than that, and passes.

#include <QString>
#include <QVarLengthArray>
#include <optional>

#include "base/pixel_grid.h"

// Where the scan of one area read what.
struct ScanTrail {
  struct Digit {
    int x;      // column the digit matched at
    int width;  // width of the pattern that matched
  };
  QVarLengthArray<Digit, 32> digits;
  int delimiterX = -1;  // column the delimiter matched at; −1: the scan ran to its end

  void AddDigit(long long x, int width) { digits.append({static_cast<int>(x), width}); }
};

enum class UnreadPlace { BeforeFirstDigit, BetweenDigits, BeforeDelimiter, AfterLastDigit };

struct UnreadInk {
  UnreadPlace place;
  int from;  // columns [from, to) of the glyph found there
  int to;
};

// The first stretch of unread ink, if any. `cellWidth` and `cellHeight` are
// the area's; `taughtFromCaptures` adds the look before the first digit.
std::optional<UnreadInk> FindUnreadInk(const PixelGrid& capture, const ScanTrail& trail, int cellWidth, int cellHeight,
                                       bool taughtFromCaptures);

// The reason an area with unread ink reads "認識NG", as the trace gives it,
// and as the result gives it to be shown.
QString UnreadInkReason(const UnreadInk& ink);
QString ShownUnreadInkReason(const UnreadInk& ink);

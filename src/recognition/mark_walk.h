#pragma once
// Reading an area by accounting for every mark in it, left to right: what
// the area's model says stands before the number, then digits (the taught
// patterns) and the separators between digit groups, then the end: the
// delimiter, a gap wider than the number's own, or the area's end. A mark
// none of these accounts for (a digit not taught yet, ink before the first
// digit, a digit cut by the area's edge) fails the area instead of being
// passed over, so a number the screen did not show is never read.
//
// Where to compare is the walk's business; how a pattern is compared is the
// caller's (the fast matcher, or the plain reference scan), so both read by
// one rule.

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "recognition/ink_columns.h"
#include "recognition/unread_ink.h"

inline constexpr int kDelimiterIndex = 10;  // the delimiter among an area's patterns

// One look of a digit: a variant may be a column or two wider or narrower
// than the digit's pattern (the glyph at another fraction of a pixel).
struct DigitLook {
  PixelGrid picture;
  int lead = 0;   // its first column holding ink
  int trail = 0;  // the blank columns at its right
};

// What the walk needs to know of an area's patterns and model.
struct AreaShape {
  // Per pattern (digits 0 … 9, then the delimiter): its width (0: never
  // matches), its first column holding ink and the blank columns at its
  // right, so that a pattern is laid where its ink meets the mark's.
  std::array<int, 11> width{};
  std::array<int, 11> lead{};
  std::array<int, 11> trail{};
  int maxLead = 0;
  int rows = 0;         // the rows marks are looked for in: the patterns' height
  int digitTop = 0;     // the digits' ink rows
  int digitBottom = 0;
  int foot = 0;         // the row most digits' ink ends on: the line they stand on
  bool separators = true;  // marks between digit groups may stand between digits
  // After a digit, background this wide ends the number. Where text was
  // seen far further off, background from `numberGap` on ends it only
  // before a mark that spans not the digits' rows (noise, a point): a glyph
  // as tall as the digits there is one more digit, not taught yet.
  int wideGap = 0;
  int numberGap = 0;
  bool delimiterRequired = false;  // the number ends at the delimiter, or the area fails
  // What stands before the number (marks such as "Lv."): compared where the
  // first mark begins; none (no columns) when the model names nothing there.
  PixelGrid prefix;
  int prefixLead = 0;
  int prefixInkEnd = 0;  // one past its last ink column
  // Per digit, its pattern and its variants as pictures: a match the
  // caller reports is taken only where one of them shows the same glyph
  // on a second look (recognition/picture_match.h), and the glyph then
  // takes that look's columns.
  std::array<std::vector<DigitLook>, 10> looks;
  // The delimiter's pattern as a picture, where the model says it ends the
  // number (none otherwise).
  PixelGrid delimiter;
};

// Background after the last digit this wide ends the number where the
// next mark is no digit: a gap half again as wide as the widest digit. A
// digit's own gap is far narrower (a 1 centred in a wide advance
// included), and a name after a few spaces stands further off.
inline int WideGap(int widestDigit, int digitGap) { return std::max({3 * widestDigit / 2, digitGap + 2, 3}); }

// How many rows digits of one line may stand apart at the top and the
// foot, given their `digitRows`: round digits (0, 3, 6, 8, 9) overshoot the
// flat ones by a row of the font's own, which scaling widens, and an
// anti-aliased row may show or not.
inline int LineSlack(int digitRows) { return std::max(1, (digitRows + 4) / 8); }

// Whether a mark from column u on, after the last digit's ink ending at
// `inkEnd`, may begin other text after the number (see AreaShape::wideGap).
bool TextMayBegin(InkColumns& ink, const AreaShape& shape, int inkEnd, int u);

struct WalkResult {
  QString digits;
  std::optional<UnreadInk> unread;  // the first mark nothing accounts for
  int delimiterX = -1;
};

// Whether a mark of columns [from, to) is a separator between digit groups:
// a comma or a point, low and narrow beside the digits.
bool LooksLikeSeparator(InkColumns& ink, int from, int to, const AreaShape& shape);

// Where `prefix` (a picture of marks) lies wholly in `capture`, by the
// rule of recognition/picture_match.h, when the marks begin at column x:
// there or a column either way, as its faint first column stands out over
// noise or a texture in one capture and not in another. −1 when it does not.
int PrefixNear(const PixelGrid& capture, const PixelGrid& prefix, int x);

// Which of digit `digit`'s looks lies in `capture` at column x by that
// rule (its index in AreaShape::looks), the widest where several do: it
// accounts for most of the glyph; −1 when none does.
int LookShown(const AreaShape& shape, int digit, const PixelGrid& capture, int x);

inline bool DigitShown(const AreaShape& shape, int digit, const PixelGrid& capture, int x) {
  return LookShown(shape, digit, capture, x) >= 0;
}

// Whether the delimiter's picture lies in `capture` at column x by that
// rule.
bool DelimiterShown(const AreaShape& shape, const PixelGrid& capture, int x);

struct ShownLook {
  int digit = -1;  // −1: none
  int look = -1;   // its index in AreaShape::looks
};

// The smallest digit above `digit` one of whose looks lies in `capture` at
// column x by that rule and the match rule's count, and that look.
ShownLook LargerDigitShown(const AreaShape& shape, int digit, const PixelGrid& capture, int x);

// `firstMatch(x)`: the smallest digit whose pattern matches at column x,
// else kDelimiterIndex when the delimiter does, else −1; called once for
// each column the walk examines, in the order it examines them. `end`: one
// past the last column that may hold the number.
template <typename FirstMatch>
WalkResult WalkMarks(const PixelGrid& capture, int end, const AreaShape& shape, FirstMatch&& firstMatch) {
  WalkResult result;
  InkColumns ink(capture, end, shape.rows);
  enum class State { Start, AfterDigit, AfterSeparator } state = State::Start;
  int u = ink.NextInk(0);
  int accounted = 0;  // one past the last column a pattern or a separator explains
  int inkEnd = 0;     // one past the last digit's ink, where a gap is measured from
  const auto unread = [&](UnreadPlace place, int from) {
    result.unread = UnreadInk{place, from, std::max(from + 1, ink.NextBlank(from))};
  };

  if (shape.prefix.width > 0 && u < ink.Width()) {
    if (const int x = PrefixNear(capture, shape.prefix, u - shape.prefixLead); x >= 0) {
      accounted = x + shape.prefix.width;
      u = ink.NextInk(accounted);
    }
  }
  const int digitRows = shape.digitBottom - shape.digitTop + 1;
  while (u < ink.Width()) {
    u = ink.NextMark(u, digitRows);
    if (u >= ink.Width()) break;
    // Past a gap wider than the number's own, a mark that is no digit is
    // other text (a name, a percentage after a space). One that reads as a
    // digit is either the number going on or a letter of the text that
    // looks like one (the "O" of a name read as 0): neither is taken.
    const bool afterWideGap = state == State::AfterDigit && u - inkEnd >= shape.wideGap;
    const bool textMayBegin = state == State::AfterDigit && TextMayBegin(ink, shape, inkEnd, u);
    // A pattern is laid so that it covers the mark's first column, with its
    // ink beginning there give or take the column an anti-aliased edge may
    // or may not show, and overlapping what is already read by no more
    // than such a column.
    // Where none is, the mark's first columns may be a faint side the
    // glyph's pattern lacks (a touching neighbour's cell took it when the
    // glyph was taught): the columns past them are tried last.
    int shown = -1;
    int at = 0;
    int shownWidth = 0;
    int shownTrail = 0;
    for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1});
         shown < 0 && (x <= u || x <= u + ink.FaintLeadingColumns(u, digitRows)); ++x) {
      int k = firstMatch(x);
      // The match counts bytes; a stroke the digit lacks in a large cell
      // (a boxed 8 read as a 3) or a neighbour's stroke taken for its own
      // (a 6 touching a 5 read as an 8) is too few of them to fail it. A
      // larger digit may then be what stands there: the boxed 8 itself.
      int look = -1;
      if (k >= 0 && k < kDelimiterIndex) {
        look = LookShown(shape, k, capture, x);
        if (look < 0) {
          const ShownLook larger = LargerDigitShown(shape, k, capture, x);
          k = larger.digit;
          look = larger.look;
        }
      }
      if (k < 0) continue;
      const auto kk = static_cast<std::size_t>(k);
      const DigitLook* taken = look >= 0 ? &shape.looks[kk][static_cast<std::size_t>(look)] : nullptr;
      const int width = taken ? taken->picture.width : shape.width[kk];
      // It must cover the mark's first column, or the walk would stand still.
      if (x + (taken ? taken->lead : shape.lead[kk]) > u + 1 || x + width <= u) continue;
      shown = k;
      at = x;
      shownWidth = width;
      shownTrail = taken ? taken->trail : shape.trail[kk];
    }
    if (shown >= 0 && shown < kDelimiterIndex) {
      if (afterWideGap) {
        unread(UnreadPlace::AfterLastDigit, u);
        return result;
      }
      result.digits += QChar(u'0' + shown);
      accounted = at + shownWidth;
      inkEnd = accounted - shownTrail;
      u = ink.NextInk(accounted);
      if (u == accounted) u = ink.NextInk(u + ink.FaintTrailingColumns(u, digitRows));
      state = State::AfterDigit;
      continue;
    }
    // The delimiter is a mark of its own, as it was taught: where the mark
    // goes on past it, it only matched the edge of a glyph (a digit's
    // outline) and ends nothing, unless a second look finds the delimiter
    // itself there after a digit (a bracket touching the percentage).
    if (shown == kDelimiterIndex && state != State::AfterSeparator &&
        (ink.NextBlank(u) <= at + shape.width[kDelimiterIndex] + 1 ||
         (state == State::AfterDigit && DelimiterShown(shape, capture, at)))) {
      result.delimiterX = at;
      return result;
    }
    if (textMayBegin) break;  // the delimiter, if required, is missed below
    const int markEnd = ink.NextBlank(u);
    if (state == State::AfterDigit && shape.separators && LooksLikeSeparator(ink, u, markEnd, shape)) {
      state = State::AfterSeparator;
      accounted = markEnd;
      u = ink.NextInk(markEnd);
      continue;
    }
    // A comma joined to the glyph after it, as teaching cuts it apart.
    if (state == State::AfterDigit && shape.separators) {
      const int middle = shape.foot - digitRows / 2;
      if (const auto comma = CommaBeforeGlyphAt(ink, u, markEnd, middle, shape.foot, digitRows)) {
        state = State::AfterSeparator;
        accounted = u = *comma;
        continue;
      }
    }
    unread(state == State::Start ? UnreadPlace::BeforeFirstDigit
                                 : (state == State::AfterSeparator ? UnreadPlace::BetweenDigits : UnreadPlace::AfterLastDigit),
           u);
    return result;
  }
  if (state == State::AfterSeparator) {
    unread(UnreadPlace::AfterLastDigit, accounted - 1);
  } else if (shape.delimiterRequired && state == State::AfterDigit) {
    result.unread = UnreadInk{UnreadPlace::NoDelimiter, std::min(u, ink.Width() - 1), std::min(u, ink.Width() - 1) + 1};
  }
  return result;
}

struct PatternSet;

// The shape of area `area`'s patterns and model as the walk reads it.
AreaShape ShapeOf(const PatternSet& set, int area);

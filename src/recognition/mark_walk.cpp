#include "recognition/mark_walk.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "recognition/match_rule.h"
#include "recognition/picture_match.h"
#include "recognition/recognition.h"

bool LooksLikeSeparator(InkColumns& ink, int from, int to, const AreaShape& shape) {
  const int digitRows = shape.digitBottom - shape.digitTop + 1;
  if (to - from > std::max(2, digitRows / 2)) return false;
  const std::uint64_t rows = ink.RowsOf(from, to);
  if (rows == 0) return false;
  const int top = std::countr_zero(rows);
  // A comma or point stands in the lower half of the digits' rows; an edge
  // row marks the pixel on either side, hence the one row of slack.
  return top + 1 >= shape.digitTop + digitRows / 2;
}

bool TextMayBegin(InkColumns& ink, const AreaShape& shape, int inkEnd, int u) {
  const int gap = u - inkEnd;
  if (gap >= shape.wideGap) return true;
  if (gap < shape.numberGap) return false;
  // Noise over a texture, or a point, stands out in a few rows; a glyph as
  // tall as the digits reaches into their top and their foot quarter.
  const std::uint64_t rows = ink.RowsOf(u, ink.NextBlank(u));
  const int digitRows = shape.digitBottom - shape.digitTop + 1;
  const int reach = digitRows / 4;
  return std::countr_zero(rows) > shape.digitTop + reach || 63 - std::countl_zero(rows) < shape.digitBottom - reach;
}

int PrefixNear(const PixelGrid& capture, const PixelGrid& prefix, int x) {
  for (int at = x - 1; at <= x + 1; ++at) {
    if (at >= 0 && at + prefix.width <= capture.width && PictureAt(capture, prefix, at)) return at;
  }
  return -1;
}

namespace {

// The widest of `looks` that lies in `capture` at column x; −1 when none.
int WidestLookAt(const std::vector<DigitLook>& looks, const PixelGrid& capture, int x) {
  int shown = -1;
  for (std::size_t i = 0; i < looks.size(); ++i) {
    const PixelGrid& picture = looks[i].picture;
    if (shown >= 0 && picture.width <= looks[static_cast<std::size_t>(shown)].picture.width) continue;
    if (PictureAt(capture, picture, x)) shown = static_cast<int>(i);
  }
  return shown;
}

}  // namespace

int LookShown(const AreaShape& shape, int digit, const PixelGrid& capture, int x) {
  const std::vector<DigitLook>& looks = shape.looks[static_cast<std::size_t>(digit)];
  // With one look, the count the caller made was that look's.
  if (looks.size() == 1) return FewUnexplained(capture, looks.front().picture, x) ? 0 : -1;
  return WidestLookAt(looks, capture, x);
}

bool DelimiterShown(const AreaShape& shape, const PixelGrid& capture, int x) {
  return shape.delimiter.width > 0 && PictureAt(capture, shape.delimiter, x);
}

ShownLook LargerDigitShown(const AreaShape& shape, int digit, const PixelGrid& capture, int x) {
  for (int d = digit + 1; d < kDelimiterIndex; ++d) {
    const int look = WidestLookAt(shape.looks[static_cast<std::size_t>(d)], capture, x);
    if (look >= 0) return {d, look};
  }
  return {};
}

namespace {

struct InkSpan {
  int lead = 0;
  int inkEnd = 0;  // one past the last column with ink (0 when none)
  std::uint64_t rows = 0;
};

template <typename PixelAt>
InkSpan SpanOf(const PixelAt& at, int width, int height) {
  InkSpan span;
  int first = -1;
  for (int x = 0; x < width; ++x) {
    const std::uint64_t rows = EdgeRows(at, x, height);
    if (rows == 0) continue;
    if (first < 0) first = x;
    span.inkEnd = x + 1;
    span.rows |= rows;
  }
  span.lead = std::max(first, 0);
  return span;
}

InkSpan SpanOf(const PixelGrid& picture) {
  return SpanOf([&picture](int x, int y) { return picture.At(x, y); }, picture.width, picture.height);
}

}  // namespace

AreaShape ShapeOf(const PatternSet& set, int area) {
  const std::size_t a = area == 1 ? 1 : 0;
  AreaShape shape;
  std::uint64_t digitRows = 0;
  std::vector<int> inks;  // each taught digit's ink width
  std::vector<int> feet;  // and its last ink row
  for (std::size_t k = 0; k < 11; ++k) {
    const Pattern& p = k < 10 ? set.digitPatterns[a * 10 + k] : set.delimiterPatterns[a];
    if (!UsablePattern(p)) continue;
    const PixelGrid picture = PictureOf(p);
    const InkSpan span = SpanOf(picture);
    shape.width[k] = p.width;
    shape.lead[k] = span.lead;
    shape.trail[k] = span.inkEnd > 0 ? p.width - span.inkEnd : 0;
    shape.maxLead = std::max(shape.maxLead, span.lead);
    shape.rows = std::max(shape.rows, p.height);
    if (k < 10) {
      shape.looks[k].push_back({picture, shape.lead[k], shape.trail[k]});
      for (const Pattern& variant : set.variants[a * 10 + k]) {
        if (!UsablePattern(variant)) continue;
        PixelGrid look = PictureOf(variant);
        if (variant.width == p.width) {
          shape.looks[k].push_back({std::move(look), shape.lead[k], shape.trail[k]});
          continue;
        }
        // A look of its own width has its own ink columns, and is looked
        // for as far before a mark as its ink begins.
        const InkSpan own = SpanOf(look);
        shape.maxLead = std::max(shape.maxLead, own.lead);
        shape.looks[k].push_back({std::move(look), own.lead, own.inkEnd > 0 ? variant.width - own.inkEnd : 0});
      }
      digitRows |= span.rows;
      inks.push_back(span.inkEnd - span.lead);
      if (span.rows != 0) feet.push_back(63 - std::countl_zero(span.rows));
    }
  }
  shape.digitTop = digitRows == 0 ? 0 : std::countr_zero(digitRows);
  shape.digitBottom = digitRows == 0 ? shape.rows - 1 : 63 - std::countl_zero(digitRows);
  shape.foot = shape.digitBottom;
  if (!feet.empty()) {
    std::nth_element(feet.begin(), feet.begin() + static_cast<std::ptrdiff_t>(feet.size() / 2), feet.end());
    shape.foot = feet[feet.size() / 2];
  }
  // How far background must run to end the number is judged by a typical
  // digit, not the widest: one wide glyph (a 4 with its shadow, a W-wide
  // 0) would otherwise make the gap before a name after the number too
  // narrow to end it, once that digit is taught.
  int typicalInk = 0;
  if (!inks.empty()) {
    std::nth_element(inks.begin(), inks.begin() + static_cast<std::ptrdiff_t>(inks.size() / 2), inks.end());
    typicalInk = inks[inks.size() / 2];
  }
  const AreaLayout& layout = set.layouts[a];
  // Without a learned model the cells may hold background at their sides:
  // two of them wide, so that a digit not taught yet, which stands closer,
  // fails the area instead of ending the number.
  shape.numberGap = shape.wideGap =
      std::max(WideGap(typicalInk, 0), 2 * std::min(set.cellWidth[a], kLargestPatternSide));
  if (layout.learned) {
    shape.separators = layout.separators;
    shape.delimiterRequired = layout.endsWithDelimiter && shape.width[kDelimiterIndex] > 0;
    // Only the experience's delimiter is looked for where it touches what
    // follows (its percentage in brackets, set close), and only where the
    // model says it ends the number: the one delivered may be any glyph's
    // side, and the level stands before a name or nothing, where a
    // "delimiter" touching the next glyph is a wrong cut's ("LV." taught as
    // the digits, the real number's first digit as the delimiter).
    if (a == 1 && shape.delimiterRequired) shape.delimiter = PictureOf(set.delimiterPatterns[a]);
    shape.numberGap = shape.wideGap = WideGap(typicalInk, layout.digitGap);
    // Text seen far after the number stands as far off again, give or take
    // how much further right one last digit's ink reaches than another's.
    // A gap well short of that may be inside the number (after a narrow 1
    // in a monospaced font): a glyph past it that reads as no digit is a
    // digit not taught yet, not the text, and the number is not cut short.
    int widest = 0;
    for (std::size_t k = 0; k < 10; ++k) widest = std::max(widest, shape.width[k]);
    shape.wideGap = std::max(shape.wideGap, layout.textGap - widest);
  }
  const PixelGrid& prefix = set.prefixes[a];
  if (prefix.width > 0 && GridConsistent(prefix)) {
    const InkSpan span = SpanOf(prefix);
    shape.prefix = prefix;
    shape.prefixLead = span.lead;
    shape.prefixInkEnd = span.inkEnd;
  }
  return shape;
}

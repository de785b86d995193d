#include "recognition/digit_segmentation.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <tuple>

#include "base/pixel_grid.h"
#include "recognition/capture_noise.h"
#include "recognition/ink_columns.h"
#include "recognition/mark_walk.h"
#include "recognition/picture_match.h"
#include "recognition/recognition.h"

namespace {

// One run of ink columns, and the rows its edges reach.
struct Mark {
  int from = 0;
  int to = 0;  // one past its last column
  int top = 0;
  int bottom = 0;
  // A column of background beside the run the mark belongs to, in the same
  // rows: what its pixels stand out from (−1: none, the run fills the width).
  int background = -1;

  int Width() const { return to - from; }
};

// The median of a value of the marks (0 when there are none): most marks
// are digits and capitals.
template <typename Value>
int MedianOf(const std::vector<Mark>& marks, Value value) {
  if (marks.empty()) return 0;
  std::vector<int> values;
  values.reserve(marks.size());
  for (const Mark& m : marks) values.push_back(value(m));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

int MedianHeight(const std::vector<Mark>& marks) {
  return MedianOf(marks, [](const Mark& m) { return m.bottom - m.top + 1; });
}

Mark MarkOf(InkColumns& ink, int from, int to, int background) {
  const std::uint64_t bits = ink.RowsOf(from, to);
  return {from, to, std::countr_zero(bits), 63 - std::countl_zero(bits), background};
}

// A run of ink columns on its own: its background the column after it, or
// the one before it at the capture's right edge.
Mark RunOf(InkColumns& ink, int from, int to) { return MarkOf(ink, from, to, to < ink.Width() ? to : from - 1); }

// Which of a capture's glyphs have a low edge (see AtJoints) of their own:
// an outline or an anti-aliased edge gives one on both sides, a shadow on
// the right only.
struct LowEdges {
  bool leading = true;
  bool trailing = true;
};

int Brightness(std::uint32_t v) { return static_cast<int>((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)); }

// How much a mark's strokes stand out from its background, and on which
// side of it they lie: lighter (+1), darker (-1), or either (0, a colour
// as bright as the background).
struct Peak {
  int contrast = 0;
  int side = 0;
};

Peak PeakOf(const PixelGrid& grid, const Mark& mark) {
  Peak peak;
  for (int x = mark.from; x < mark.to; ++x) {
    for (int y = mark.top; y <= mark.bottom && y < grid.height; ++y) {
      const std::uint32_t v = grid.At(x, y);
      const std::uint32_t background = grid.At(mark.background, y);
      if (const int d = ChannelDistance(v, background); d > peak.contrast) {
        const int lighter = Brightness(v) - Brightness(background);
        peak = {d, (lighter > 0) - (lighter < 0)};
      }
    }
  }
  return peak;
}

// Which columns join glyphs rather than draw them (see AtJoints).
enum class Joints {
  None,   // marks as their ink runs
  Faint,  // columns that stand out less than half as much as the strokes
  // ... and columns whose ink lies on the other side of the background
  // from the strokes: a dark outline or shadow around light digits may
  // stand out as much as they do
  OtherSide,
};

// Whether column x holds no stroke: nothing in it stands out half as much
// as the strokes do (on their side of the background, with OtherSide).
bool LowAt(const PixelGrid& grid, const Mark& mark, int x, Peak peak, Joints joints) {
  const int side = joints == Joints::OtherSide ? peak.side : 0;
  for (int y = mark.top; y <= mark.bottom && y < grid.height; ++y) {
    const std::uint32_t v = grid.At(x, y);
    const std::uint32_t background = grid.At(mark.background, y);
    if (2 * ChannelDistance(v, background) >= peak.contrast && side * (Brightness(v) - Brightness(background)) >= 0) {
      return false;
    }
  }
  return true;
}

// How much ink column x holds on the strokes' side of the background: the
// sum of its pixels' distances from it. Faint edges weigh little, an
// outline or a shadow on the other side nothing.
int InkWeightAt(const PixelGrid& grid, const Mark& mark, int x, Peak peak) {
  int weight = 0;
  for (int y = mark.top; y <= mark.bottom && y < grid.height; ++y) {
    const std::uint32_t v = grid.At(x, y);
    const std::uint32_t background = grid.At(mark.background, y);
    if (peak.side * (Brightness(v) - Brightness(background)) >= 0) weight += ChannelDistance(v, background);
  }
  return weight;
}

// What most glyph-like marks (at least three columns, half the usual
// height) show at their ends; both when there are none to tell.
LowEdges LowEdgesOf(const PixelGrid& grid, const std::vector<Mark>& marks, int height, Joints joints) {
  int glyphs = 0, leading = 0, trailing = 0;
  for (const Mark& m : marks) {
    if (m.background < 0 || m.Width() < 3 || 2 * (m.bottom - m.top + 1) < height) continue;
    const Peak peak = PeakOf(grid, m);
    if (peak.contrast <= 2 * kInkJump) continue;
    ++glyphs;
    leading += LowAt(grid, m, m.from, peak, joints) ? 1 : 0;
    trailing += LowAt(grid, m, m.to - 1, peak, joints) ? 1 : 0;
  }
  if (glyphs == 0) return {};
  return {2 * leading >= glyphs, 2 * trailing >= glyphs};
}

// Whether columns [from, to) reach past columns [otherFrom, otherTo) both
// above and below: a bracket or a parenthesis beside a glyph does, while
// no stroke of a glyph reaches past the glyph itself.
bool ReachesPast(InkColumns& ink, int from, int to, int otherFrom, int otherTo) {
  const std::uint64_t rows = ink.RowsOf(from, to);
  const std::uint64_t other = ink.RowsOf(otherFrom, otherTo);
  if (to - from < 2 || rows == 0 || other == 0) return false;
  return std::countr_zero(rows) < std::countr_zero(other) && std::countl_zero(rows) < std::countl_zero(other);
}

// Glyphs a column or two apart run into one mark where their outlines,
// shadows or anti-aliased edges meet; what joins them holds no stroke
// (LowAt). The mark is cut there so that each part holds what its glyph
// shows standing alone: the joint's columns are shared out evenly, and a
// middle column goes to each side whose glyphs have such an edge of their
// own (to both for an outline, to the left for a shadow). A part narrower
// than a quarter of the mark's height is no glyph (a thin stroke of one),
// so no cut makes one, unless it reaches past the rest both above and
// below: a bracket that touches the percentage's first digit ("[5").
std::vector<Mark> AtJoints(InkColumns& ink, const PixelGrid& grid, const Mark& mark, LowEdges edges, Joints joints) {
  const int minWidth = std::max(2, (mark.bottom - mark.top + 1) / 4);
  if (mark.background < 0 || mark.Width() < 2 * minWidth + 1) return {mark};
  const Peak peak = PeakOf(grid, mark);
  if (peak.contrast <= 2 * kInkJump) return {mark};
  std::vector<bool> low;
  low.reserve(static_cast<std::size_t>(mark.Width()));
  for (int x = mark.from; x < mark.to; ++x) low.push_back(LowAt(grid, mark, x, peak, joints));
  const auto isLow = [&](int x) { return low[static_cast<std::size_t>(x - mark.from)]; };
  const bool shareMiddle = edges.leading == edges.trailing;
  std::vector<Mark> parts;
  int from = mark.from;
  int x = mark.from;
  while (x < mark.to && isLow(x)) ++x;  // the first glyph's leading edge
  while (x < mark.to) {
    if (!isLow(x)) {
      ++x;
      continue;
    }
    int end = x;
    while (end < mark.to && isLow(end)) ++end;
    if (end >= mark.to) break;  // the last glyph's trailing edge
    const int half = (end - x) / 2;
    const bool middle = (end - x) % 2 == 1;
    const int leftEnd = x + half + (middle && (shareMiddle || edges.trailing) ? 1 : 0);
    const int rightFrom = x + half + (middle && !shareMiddle && !edges.leading ? 1 : 0);
    if ((leftEnd - from >= minWidth || ReachesPast(ink, from, leftEnd, rightFrom, mark.to)) &&
        (mark.to - rightFrom >= minWidth || ReachesPast(ink, rightFrom, mark.to, from, leftEnd))) {
      parts.push_back(MarkOf(ink, from, leftEnd, mark.background));
      from = rightFrom;
    }
    x = end;
  }
  if (parts.empty()) return {mark};
  parts.push_back(MarkOf(ink, from, mark.to, mark.background));
  // A last part too narrow to be a glyph goes back to the one before it.
  const Mark& beforeLast = parts[parts.size() - 2];
  if (parts.back().Width() < minWidth &&
      !ReachesPast(ink, parts.back().from, parts.back().to, beforeLast.from, beforeLast.to)) {
    const int to = parts.back().to;
    parts.pop_back();
    parts.back() = MarkOf(ink, parts.back().from, to, mark.background);
  }
  return parts;
}

// Where a comma drawn close to the glyph before it joins that glyph's mark:
// the columns at the mark's right that hold ink only below the line's
// middle and reach below its foot, where no digit does. Reading meets the
// same columns after the digit's pattern and takes them for a separator.
std::optional<int> JoinedCommaAt(InkColumns& ink, const Mark& mark, int middle, int foot, int height) {
  const LowEnd low = LowColumnsAtEnd(ink, mark.from, mark.to, middle, LowEnd::Side::Right);
  const bool below = low.rows != 0 && 63 - std::countl_zero(low.rows) > foot + 1;
  if (!below || low.at - mark.from < 2 || mark.to - low.at > std::max(2, height / 2)) return std::nullopt;
  return low.at;
}

// The marks, without the faint edges of glyphs (InkColumns::FaintEdge),
// which reading passes over too, and with commas joined to a glyph (before
// or after it) apart;
// with `joints`, glyphs joined by their edges apart as well (AtJoints).
std::vector<Mark> MarksOf(const PixelGrid& grid, int rows, Joints joints) {
  InkColumns ink(grid, grid.width, rows);
  std::vector<Mark> marks;
  for (int x = ink.NextInk(0); x < ink.Width(); x = ink.NextInk(x)) {
    const int end = ink.NextBlank(x);
    marks.push_back(RunOf(ink, x, end));
    x = end;
  }
  const int height = MedianHeight(marks);
  std::erase_if(marks, [&](const Mark& m) { return m.Width() == 1 && ink.FaintEdge(m.from, height); });
  const int foot = MedianOf(marks, [](const Mark& m) { return m.bottom; });
  const LowEdges edges = LowEdgesOf(grid, marks, height, joints);
  std::vector<Mark> apart;
  apart.reserve(marks.size());
  for (const Mark& m : marks) {
    const std::optional<int> before = CommaBeforeGlyphAt(ink, m.from, m.to, foot - height / 2, foot, height);
    if (before) apart.push_back(MarkOf(ink, m.from, *before, m.background));
    const int from = before.value_or(m.from);
    const Mark rest = before ? MarkOf(ink, from, m.to, m.background) : m;
    const std::optional<int> comma = JoinedCommaAt(ink, rest, foot - height / 2, foot, height);
    const Mark glyphs = comma ? MarkOf(ink, from, *comma, m.background) : rest;
    if (joints != Joints::None) {
      for (const Mark& part : AtJoints(ink, grid, glyphs, edges, joints)) apart.push_back(part);
    } else {
      apart.push_back(glyphs);
    }
    if (comma) apart.push_back(MarkOf(ink, *comma, m.to, m.background));
  }
  return apart;
}


struct Capture {
  PixelGrid grid;
  int rows = 0;
  std::vector<Mark> marks;
  int medianHeight = 0;  // of the marks: most are digits and capitals
  std::vector<std::uint64_t> columnRows;  // per column, its edge rows (InkColumns::RowsAt)
  bool looksMayDiffer = false;  // a digit typed twice need only nearly look alike
  // The last search: a digit typed twice may also lie far nearer itself
  // than any other digit (NearerThanOthers), or look alike half a pixel
  // over (NearlyAlike).
  bool nearerThanOthers = false;
  bool cutAtWaists = false;     // touching digits are cut at their waists alone (Split::waists)
  bool valleys = false;         // a waists split may be confirmed by its cuts alone (ValleysBetween)
  bool level = false;  // the level's area: no bracket follows its number (DigitLikeWidth)

  const Mark& At(int index) const { return marks[static_cast<std::size_t>(index)]; }
  int Count() const { return static_cast<int>(marks.size()); }
};

// Where the typed number stands among the marks: each digit's cell (its
// mark, or its share of a mark where digits touch or stand in boxes that
// touch) and what stands before and after the number.
struct Placement {
  std::vector<CellSpan> cells;
  std::vector<int> digitMarks;  // the mark each digit lies in
  bool separatorMark = false;
  int firstMark = 0;  // of the number
  int lastMark = 0;
  int knownMisses = 0;
  // Columns of the number's last mark right of its digits: a delimiter
  // that touches them (a box's frame, a glyph without a gap).
  std::optional<CellSpan> tail;
  std::optional<CellSpan> delimiter;  // what ends the number, when a mark does
  int digitGap = 0;
  int textGap = 0;  // background before other text after the number (0: none stands there)
  bool digitBefore = false;  // a mark close before the number looks like a digit
  int separatorsMissing = 0;  // separators typed with no mark between the digits

  int WidestCell() const {
    int widest = 0;
    for (const CellSpan& cell : cells) widest = std::max(widest, cell.width);
    return widest;
  }
  // Whether digit i shares its mark with another: it is cut from a run of
  // touching digits.
  bool InRun(std::size_t i) const { return std::count(digitMarks.begin(), digitMarks.end(), digitMarks[i]) > 1; }
};

// Digits that run into each other share one mark: `advance` columns each,
// and `extra` more where neighbours share a column (boxes with one frame
// between them). 0: every mark is one digit.
struct Split {
  int advance = 0;
  int extra = 0;
  bool tail = false;  // the last mark may hold columns past its digits
  // A run's last digit may end short of its advance (digits a column apart
  // joined by their shadow or outline); tried only when whole advances cut
  // nothing, and never with boxes that share a column, which end exactly.
  bool ragged = false;
  // Glyphs at fractions of a pixel touch at no whole advance: each cut
  // moves to the run's thinnest column near it (CutAtWaists), and a digit
  // standing alone keeps its ink's columns. Tried last; the run's last
  // digit ends where its ink does, as with `ragged`.
  bool waists = false;
};

// Cuts a run into `k` cells from `first` on, each cut at the column with
// the least ink within a quarter advance of one advance after the cut
// before (InkWeightAt; the nearest of equals), so that each cell holds its
// glyph however the glyphs fall on the pixels; the last cell ends at `end`.
void CutAtWaists(const Capture& c, const Mark& run, std::vector<CellSpan>& cells, std::size_t first, int k,
                 int advance, int end) {
  if (run.background < 0) return;
  const Peak peak = PeakOf(c.grid, run);
  const int reach = std::max(1, advance / 4);
  std::vector<int> cuts{run.from};
  for (int j = 1; j < k; ++j) {
    const int nominal = cuts.back() + advance;
    int best = nominal;
    int fewest = -1;
    for (int x = std::max(cuts.back() + 2, nominal - reach); x <= std::min(end - 2, nominal + reach); ++x) {
      const int weight = InkWeightAt(c.grid, run, x, peak);
      if (fewest < 0 || weight < fewest || (weight == fewest && std::abs(x - nominal) < std::abs(best - nominal))) {
        best = x;
        fewest = weight;
      }
    }
    cuts.push_back(best);
  }
  cuts.push_back(end);
  for (std::size_t j = 0; j + 1 < cuts.size(); ++j) cells[first + j] = {cuts[j], cuts[j + 1] - cuts[j]};
}

bool Alike(const Capture& c, CellSpan a, CellSpan b) {
  if (a.width != b.width) return false;
  return Reads(CellPattern(c.grid, a.x, a.width, c.rows), c.grid, b.x);
}

// Two glyphs of one digit at two fractions of a pixel: as wide, and nearly
// alike, or told apart by nothing a shift of their edges does not explain
// (an anti-aliased glyph moved by half a pixel differs along every edge,
// too much for the count, but only by shades its neighbours hold). (A look
// reads only as large as its digit's pattern.) The glyph is looked for up
// to `reach` columns off the cell; cells up to `slack` columns apart in
// width are compared by the narrower one's glyph inside the wider. In the
// last search (Capture::nearerThanOthers), either glyph half a pixel over
// (HalfPixelLook) may be what lies where the other stands: tried in every
// search, it let an earlier cut pass ahead of the right one.
bool NearlyAlike(const Capture& c, CellSpan a, CellSpan b, int reach = 1, int slack = 0) {
  if (std::abs(a.width - b.width) > slack) return false;
  if (a.width > b.width) std::swap(a, b);
  const auto shownAt = [&c](const Pattern& glyph, const PixelGrid& picture, int x) {
    return MatchScore(glyph, c.grid, x) > kNearMatch || FewUnexplained(c.grid, picture, x);
  };
  const Pattern pattern = CellPattern(c.grid, a.x, a.width, c.rows);
  const PixelGrid picture = PictureOf(pattern);
  for (int x = std::max(0, b.x - reach); x <= b.x + b.width - a.width + reach; ++x) {
    if (shownAt(pattern, picture, x)) return true;
  }
  if (!c.nearerThanOthers) return false;
  for (const bool fromA : {true, false}) {
    const Pattern shifted = HalfPixelLook(fromA ? pattern : CellPattern(c.grid, b.x, b.width, c.rows));
    const CellSpan to = fromA ? b : a;
    if (!UsablePattern(shifted)) continue;
    const PixelGrid look = PictureOf(shifted);
    for (int x = std::max(0, to.x - 2); x <= to.x + 1 && x + shifted.width <= c.grid.width; ++x) {
      if (shownAt(shifted, look, x)) return true;
    }
  }
  return false;
}

// Failing NearlyAlike: whether the glyph of cell `a` lies far nearer the
// glyph of cell `b`, of the same digit typed, than the glyph of any cell of
// another digit (FarNearerAllowed, OtherDigitsBeyond). A number of one
// digit typed over tells nothing.
bool NearerThanOthers(const Capture& c, const TypedNumber& number, const Placement& p, std::size_t a,
                      std::size_t b) {
  const CellSpan cell = p.cells[a];
  const PixelGrid picture = PictureOf(CellPattern(c.grid, cell.x, cell.width, c.rows));
  // The fewest such pixels the glyph leaves laid over `other`'s cell, a
  // column either way, counted up to `limit` + 1.
  const auto fewest = [&](CellSpan other, int limit) {
    int best = limit + 1;
    const int last = std::max(other.x, other.x + other.width - cell.width) + 1;
    for (int x = std::max(0, other.x - 1); x <= last && best > 0; ++x) {
      best = std::min(best, UnexplainedPixels(c.grid, picture, x, best - 1));
    }
    return best;
  };
  const int same = fewest(p.cells[b], FarNearerAllowed(c.rows));
  if (same > FarNearerAllowed(c.rows)) return false;
  const int others = OtherDigitsBeyond(same);
  bool compared = false;
  for (std::size_t k = 0; k < p.cells.size(); ++k) {
    if (number.digits[static_cast<qsizetype>(k)] == number.digits[static_cast<qsizetype>(a)]) continue;
    compared = true;
    if (fewest(p.cells[k], others) <= others) return false;
  }
  return compared;
}

// Whether two marks stand on one line and reach one height, give or take
// the slack of a line (LineSlack). A lower-case letter falls short by a
// third of the height.
bool SameRows(const Mark& a, const Mark& ref) {
  const int slack = LineSlack(ref.bottom - ref.top + 1);
  return std::abs(a.top - ref.top) <= slack && std::abs(a.bottom - ref.bottom) <= slack;
}

bool LowAndNarrow(const Mark& mark, const Mark& digit) {
  const int height = digit.bottom - digit.top + 1;
  return mark.top + 1 >= digit.top + height / 2 && mark.Width() <= std::max(2, height / 2);
}

// A digit standing alone among touching ones gets its cell centred on its
// ink, one advance wide; right after a run of touching digits, whose last
// cell runs a whole advance past its ink, that may reach back into the
// run's last cell, and reading, which lays a glyph after the columns the
// one before took, could never lay it there. It starts where that cell
// ends instead, when the columns between are background and it still
// holds its whole ink.
void KeepCellsAfterRunsApart(const Capture& c, Placement& p) {
  for (std::size_t i = 1; i < p.cells.size(); ++i) {
    CellSpan& cell = p.cells[i];
    const int end = p.cells[i - 1].x + p.cells[i - 1].width;
    if (p.InRun(i) || !p.InRun(i - 1) || cell.x >= end) continue;
    const Mark& mark = c.At(p.digitMarks[i]);
    bool blank = end <= mark.from && end + cell.width >= mark.to && end + cell.width <= c.grid.width;
    for (int x = std::max(0, cell.x); blank && x < end; ++x) blank = c.columnRows[static_cast<std::size_t>(x)] == 0;
    if (blank) cell.x = end;
  }
}

// The marks from `first` on as the typed digits, or nothing when they are
// not: every digit one mark of the digits' height, or its share of one; a
// separator typed may stand as a low, narrow mark. Between two digits no
// gap as wide as ends a number: that is other text.
std::optional<Placement> Place(const Capture& c, const TypedNumber& number, int first, Split split) {
  Placement p;
  p.firstMark = first;
  // No digit is much wider than it is high: a wider advance would take a
  // word before the number ("Lv" run into its dot) for digits.
  // Nor narrower than two fifths of it: strokes of a word run together
  // cut two columns apiece look alike as well as digits do.
  if (split.advance > 0 && first < c.Count() &&
      (split.advance + split.extra > c.At(first).bottom - c.At(first).top + 3 ||
       5 * (split.advance + split.extra) < 2 * (c.At(first).bottom - c.At(first).top + 1))) {
    return std::nullopt;
  }
  int m = first;
  const auto n = static_cast<int>(number.digits.size());
  int i = 0;
  while (i < n) {
    if (m >= c.Count()) return std::nullopt;
    const Mark& mark = c.At(m);
    int k = 1;
    if (split.advance > 0 && mark.Width() > split.advance + split.extra) {
      int full = (mark.Width() - split.extra) / split.advance;
      int rest = (mark.Width() - split.extra) % split.advance;
      // The run's last digit needs no whole advance: its ink ends where its
      // glyph does, short of the advance (a shadow joins digits that stand
      // a column apart). Less than a third of one is no digit.
      if ((split.ragged || split.waists) && rest > 0 && 3 * rest >= split.advance && (!split.tail || full < n - i)) {
        ++full;
        rest = 0;
      }
      if (full > n - i || (rest != 0 && (full != n - i || !split.tail))) return std::nullopt;
      k = full;
      if (rest != 0) p.tail = CellSpan{mark.from + full * split.advance + split.extra, rest};
    }
    for (int j = 0; j < k; ++j) {
      // Where digits touch, every cell is one advance wide: a narrower
      // digit standing alone (a 1 with blank columns at its sides) gets its
      // cell centred on its ink, as a monospaced font draws it (cut at
      // waists, its ink's own columns).
      const int cell = split.advance + split.extra;
      const int from = k == 1 ? mark.from - std::max(0, cell - mark.Width()) / 2 : mark.from + j * split.advance;
      if (split.advance > 0 && std::max(0, from) + cell > c.grid.width) return std::nullopt;
      const bool ownInk = split.advance == 0 || (split.waists && k == 1);
      p.cells.push_back({ownInk ? mark.from : std::max(0, from), ownInk ? mark.Width() : cell});
      p.digitMarks.push_back(m);
      // A separator typed inside a run of touching digits is a gap there.
      const std::size_t typed = static_cast<std::size_t>(i) + static_cast<std::size_t>(j);
      if (j + 1 < k && number.separatorAfter[typed]) return std::nullopt;
    }
    if (split.waists && k > 1) {
      CutAtWaists(c, mark, p.cells, p.cells.size() - static_cast<std::size_t>(k), k, split.advance,
                  p.tail ? p.tail->x : mark.to);
    }
    i += k;
    ++m;
    if (i < n && number.separatorAfter[static_cast<std::size_t>(i - 1)]) {
      if (m < c.Count() && LowAndNarrow(c.At(m), mark)) {
        p.separatorMark = true;
        ++m;
      } else {
        ++p.separatorsMissing;
      }
    }
  }
  p.lastMark = m - 1;
  if (split.advance > 0 && !split.waists) KeepCellsAfterRunsApart(c, p);
  // A split is for digits that touch: at least one mark holds several, and
  // no digit standing alone is wider than the advance.
  if (split.advance == 0) {
    // One mark far wider than another holds digits that touch (or is a
    // word, "Lv." run together): a split's business, never one digit. The
    // digits other than 1, narrow in most fonts, are about as wide as each
    // other.
    int narrowest = 0;
    for (std::size_t i = 0; i < p.digitMarks.size(); ++i) {
      const int width = c.At(p.digitMarks[i]).Width();
      if (number.digits[static_cast<qsizetype>(i)] == u'1') continue;
      narrowest = narrowest == 0 ? width : std::min(narrowest, width);
    }
    for (const int d : p.digitMarks) {
      const int width = c.At(d).Width();
      if (narrowest > 0 && 5 * width >= 8 * narrowest && width >= narrowest + 3) return std::nullopt;
    }
  } else {
    bool shared = false;
    for (std::size_t d = 0; d < p.digitMarks.size(); ++d) {
      shared = shared || p.InRun(d);
      if (!p.InRun(d) && c.At(p.digitMarks[d]).Width() > split.advance + split.extra) return std::nullopt;
    }
    if (!shared) return std::nullopt;
  }
  // The digits share their rows: lining figures stand on one line and
  // reach one height.
  const Mark& ref = c.At(p.digitMarks.front());
  const int widest = p.WidestCell();
  for (int d = p.firstMark; d <= p.lastMark; ++d) {
    const Mark& mark = c.At(d);
    if (d > p.firstMark && mark.from - c.At(d - 1).to >= WideGap(widest, 0)) return std::nullopt;
  }
  // Digits side by side stand about as far apart as each other: a narrow
  // 1 widens its gaps by less than a digit, while a gap that much wider
  // than another is a word's ("162" over two boxed digits and the "Z" of a
  // name).
  // (Glyphs cut apart at a joint share a column: their gap is −1.)
  std::optional<int> narrowest;
  int widestGap = -1;
  for (std::size_t i = 1; i < p.digitMarks.size(); ++i) {
    if (p.digitMarks[i] != p.digitMarks[i - 1] + 1) continue;
    const int gap = c.At(p.digitMarks[i]).from - c.At(p.digitMarks[i - 1]).to;
    narrowest = std::min(narrowest.value_or(gap), gap);
    widestGap = std::max(widestGap, gap);
  }
  if (narrowest && 4 * (widestGap - *narrowest) > 3 * widest) return std::nullopt;
  for (const int d : p.digitMarks) {
    const Mark& mark = c.At(d);
    if (!SameRows(mark, ref)) return std::nullopt;
  }
  // So does each digit cut from a run, on its own columns, nearly: a name
  // run together ("Kuro") is as tall as its capital, and its lower-case
  // letters, cut an advance apiece, would otherwise pass for digits. They
  // fall short by a third of the height; a small font's 4, whose apex is a
  // thin diagonal, by a row or two.
  const int slack = std::max(LineSlack(ref.bottom - ref.top + 1), (ref.bottom - ref.top + 1) / 5);
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const Mark& mark = c.At(p.digitMarks[i]);
    if (mark.Width() <= p.cells[i].width) continue;
    std::uint64_t rows = 0;
    for (int x = std::max(mark.from, p.cells[i].x); x < std::min(mark.to, p.cells[i].x + p.cells[i].width); ++x) {
      rows |= c.columnRows[static_cast<std::size_t>(x)];
    }
    if (rows == 0 || std::countr_zero(rows) > ref.top + slack || 63 - std::countl_zero(rows) < ref.bottom - slack) {
      return std::nullopt;
    }
  }
  // Digits are as tall as capitals: a point or a lower-case letter is none;
  // and no wider than they are high: a word run together is none.
  const int height = ref.bottom - ref.top + 1;
  if (4 * height < 3 * c.medianHeight) return std::nullopt;
  // The marks before the number are capitals ("Lv.", "EXP"), as tall as
  // the digits: letters after a capital ("Kuro" after the level) that fall
  // short of it are lower case.
  for (int d = 0; d < p.firstMark; ++d) {
    if (20 * height < 17 * (c.At(d).bottom - c.At(d).top + 1)) return std::nullopt;
  }
  for (const CellSpan& cell : p.cells) {
    if (cell.width > height + 3) return std::nullopt;
  }
  return p;
}

using KnownPatterns = std::array<std::optional<Pattern>, 10>;

// The value of the `i`th digit typed, an index into KnownPatterns.
std::size_t DigitOf(const TypedNumber& number, std::size_t i) {
  return static_cast<std::size_t>(number.digits[static_cast<qsizetype>(i)].unicode() - u'0');
}

bool Overlap(CellSpan a, int from, int to) { return a.x < to && from < a.x + a.width; }

// Whether cell `index` may take the columns of `to`: inside the capture,
// and clear of every mark but its own digit's (a comma, a neighbour).
bool CellFree(const Capture& c, const Placement& p, std::size_t index, CellSpan to) {
  if (to.x < 0 || to.width < 1 || to.x + to.width > c.grid.width) return false;
  for (int m = 0; m < c.Count(); ++m) {
    if (m != p.digitMarks[index] && Overlap(to, c.At(m).from, c.At(m).to)) return false;
  }
  return true;
}

// One digit's glyph cut a column or two wider in one place than another:
// its faint anti-aliased edge, or a box's, stands out from the background
// beside it at one place and not at the other (a texture, noise, a
// gradient). Cells of one digit are made as wide as the pattern taught for
// it, or as its widest cell here, by the columns on the side where the
// glyph then still reads as that pattern or cell; only columns of
// background between marks are taken or given up, never a neighbour's.
constexpr int kWidthSlack = 2;  // the most columns evened so

void EvenWidths(const Capture& c, const TypedNumber& number, const KnownPatterns& taught, Placement& p) {
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const std::optional<Pattern>& known = taught[DigitOf(number, i)];
    std::optional<CellSpan> model;  // the same digit's widest cell here
    for (std::size_t j = 0; j < p.cells.size(); ++j) {
      const int widest = std::max(p.cells[i].width, model ? model->width : 0);
      if (DigitOf(number, j) == DigitOf(number, i) && p.cells[j].width > widest) {
        model = p.cells[j];
      }
    }
    const int target = known ? known->width : (model ? model->width : p.cells[i].width);
    const CellSpan cell = p.cells[i];
    const int step = target - cell.width;
    if (step == 0 || std::abs(step) > kWidthSlack) continue;
    // The glyph keeps its columns: a wider cell takes columns on either
    // side, a narrower one gives them up.
    for (int shift = 0; shift <= std::abs(step); ++shift) {
      const CellSpan to{step > 0 ? cell.x - shift : cell.x + shift, target};
      if (!CellFree(c, p, i, to)) continue;
      // Where a digit typed twice may look otherwise, a nearly alike cell
      // is evened too, or the two would never be compared.
      const bool reads = known ? Reads(*known, c.grid, to.x) ||
                                     (c.looksMayDiffer && FewUnexplained(c.grid, PictureOf(*known), to.x))
                               : Alike(c, *model, to) || (c.looksMayDiffer && NearlyAlike(c, *model, to));
      if (reads) {
        p.cells[i] = to;
        break;
      }
    }
  }
}

// Digits typed twice look alike, and digits typed otherwise do not. Cut at
// whole advances from a run, the digits' own advance may hold a fraction
// of a column: side by side, two glyphs of a digit may stand a column
// apart from their cells. Farther apart, a column's shift is the drift of
// an advance that is not the digits' (four-column cells over five-column
// digits nearly match each 8 with the next, and take a 2 for the 8 typed
// four places on).
//
// Digits in two groups apart by a separator shown stand at two fractions
// of a pixel whenever the separator's advance holds one (a comma's half
// pixel): their glyphs may also spread over a column more in one group
// than in the other.
SegmentationRefusal CheckAlike(const Capture& c, const TypedNumber& number, const Placement& p, bool wholeAdvances) {
  const bool separatorsShown = p.separatorMark && p.separatorsMissing == 0;
  const auto inTwoGroups = [&](std::size_t j, std::size_t i) {
    const auto from = number.separatorAfter.begin() + static_cast<std::ptrdiff_t>(j);
    const auto to = number.separatorAfter.begin() + static_cast<std::ptrdiff_t>(i);
    return separatorsShown && std::find(from, to, true) != to;
  };
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const bool same = number.digits[static_cast<qsizetype>(i)] == number.digits[static_cast<qsizetype>(j)];
      const bool alike = Alike(c, p.cells[i], p.cells[j]);
      if (same && !alike &&
          !(c.looksMayDiffer && NearlyAlike(c, p.cells[j], p.cells[i], wholeAdvances && i - j > 1 ? 0 : 1,
                                            inTwoGroups(j, i) ? 1 : 0)) &&
          !(c.nearerThanOthers && NearerThanOthers(c, number, p, j, i))) {
        return SegmentationRefusal::RepeatedDigitDiffers;
      }
      if (!same && alike) return SegmentationRefusal::DifferentDigitsAlike;
    }
  }
  return SegmentationRefusal::None;
}

// Whether a split of touching digits is borne out by the cuts themselves:
// each falls where its run thins to a touch (a column beside it holds at
// most a third of the ink of the run's median column: glyphs that meet at
// a corner, a serif or a foot), and the cells it makes are about as wide
// as each other and no wider than the digits are high. Letters run into
// the digits ("Lv.60" at eight pixels) make cells too wide for either.
constexpr int kValleyShare = 3;

bool ValleysBetween(const Capture& c, const Placement& p) {
  int narrowest = kMaxCellSide;
  int widest = 0;
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    if (!p.InRun(i)) continue;
    const Mark& run = c.At(p.digitMarks[i]);
    if (p.cells[i].width > run.bottom - run.top + 1) return false;
    narrowest = std::min(narrowest, p.cells[i].width);
    widest = std::max(widest, p.cells[i].width);
  }
  if (widest - narrowest > std::max(1, widest / 6)) return false;
  int weighed = -1;  // the run whose columns `weights` holds, weighed once for all its cuts
  std::vector<int> weights;
  int median = 0;
  for (std::size_t i = 1; i < p.cells.size(); ++i) {
    if (p.digitMarks[i] != p.digitMarks[i - 1]) continue;
    const Mark& run = c.At(p.digitMarks[i]);
    if (run.background < 0) return false;
    if (weighed != p.digitMarks[i]) {
      weighed = p.digitMarks[i];
      const Peak peak = PeakOf(c.grid, run);
      weights.clear();
      for (int x = run.from; x < run.to; ++x) weights.push_back(InkWeightAt(c.grid, run, x, peak));
      std::vector<int> sorted = weights;
      std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
      median = sorted[sorted.size() / 2];
    }
    const int b = p.cells[i].x;
    int valley = -1;
    for (int x = b - 1; x <= b; ++x) {
      if (x < run.from || x >= run.to) continue;
      const int w = weights[static_cast<std::size_t>(x - run.from)];
      valley = valley < 0 ? w : std::min(valley, w);
    }
    if (valley < 0 || kValleyShare * valley > median) return false;
  }
  return true;
}

// An advance that cuts touching digits is a guess unless the capture bears
// it out: a digit typed twice, cut from a run, looks alike at both places
// (checked before), or a digit taught before reads in its share of a run.
// Without either, any advance that fits the count would be taken, and the
// cells would be saved on whatever it cut; as a last resort, the cuts may
// bear it out themselves (ValleysBetween).
bool SplitConfirmed(const Capture& c, const TypedNumber& number, const Placement& p, const KnownPatterns& taught) {
  if (c.valleys && ValleysBetween(c, p)) return true;
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    if (!p.InRun(i)) continue;
    const std::size_t digit = DigitOf(number, i);
    const std::optional<Pattern>& k = taught[digit];
    if (k && k->width == p.cells[i].width && Reads(*k, c.grid, p.cells[i].x)) return true;
    for (std::size_t j = 0; j < p.cells.size(); ++j) {
      if (j != i && number.digits[static_cast<qsizetype>(j)] == number.digits[static_cast<qsizetype>(i)]) return true;
    }
  }
  return false;
}

// Whether pixel (x, y) of `mark` is ink: it stands out from the background
// beside the mark in its row (edges alone would miss the middle of an
// upright stroke).
bool Inked(const Capture& c, const Mark& mark, int x, int y) {
  if (mark.background < 0) return true;
  return StandsOut(c.grid.At(x, y), c.grid.At(mark.background, y));
}

// Whether columns [from, mark.to) of `mark`, rows [top, top + rows), hold ink.
bool InkIn(const Capture& c, const Mark& mark, int from, int top, int rows) {
  for (int y = std::max(0, top); y < std::min(top + rows, c.rows); ++y) {
    for (int x = from; x < mark.to; ++x) {
      if (Inked(c, mark, x, y)) return true;
    }
  }
  return false;
}

// A bracket or a parenthesis: the right half of `mark`, or its right third
// (an outline around a bracket's bar reaches past the half), holds ink at
// the top and the bottom of the digits' rows but none between; no digit's
// does (a 1's base or a 7's bar reach one end only).
bool BracketLike(const Capture& c, const Mark& mark, const Mark& digit) {
  const int height = digit.bottom - digit.top + 1;
  const int quarter = height / 4;
  const auto endsOnly = [&](int from) {
    return InkIn(c, mark, from, digit.top, quarter) && InkIn(c, mark, from, digit.bottom - quarter + 1, quarter) &&
           !InkIn(c, mark, from, digit.top + quarter, height - 2 * quarter);
  };
  return quarter > 0 && (endsOnly(mark.from + mark.Width() / 2) || endsOnly(mark.from + 2 * mark.Width() / 3));
}

// An upright bar as tall as the digits (a box's frame): a column of `mark`
// with ink in every row of the digits' but one.
bool BarLike(const Capture& c, const Mark& mark, const Mark& digit) {
  for (int x = mark.from; x < mark.to; ++x) {
    int inked = 0;
    for (int y = std::max(0, digit.top); y <= std::min(digit.bottom, c.rows - 1); ++y) {
      inked += Inked(c, mark, x, y) ? 1 : 0;
    }
    if (inked + 1 >= digit.bottom - digit.top + 1) return true;
  }
  return false;
}

// The width a mark with the digits' rows must reach to be taken for a
// digit: most of the widest cell's. Beside the level, whose number no
// bracket follows, most of the narrowest cell's ('1' aside): where letters
// before the number were taken for digits ("Lv" as 2, "." and the real 2
// as 5), their cells are wider than any glyph, and the real last digit
// after them would be narrow enough to end the number as its delimiter.
int DigitLikeWidth(const Capture& c, const Placement& p, const TypedNumber& number) {
  if (!c.level) return p.WidestCell();
  int narrowest = 0;
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    if (number.digits[static_cast<qsizetype>(i)] == u'1') continue;
    narrowest = narrowest == 0 ? p.cells[i].width : std::min(narrowest, p.cells[i].width);
  }
  return narrowest > 0 ? narrowest : p.WidestCell();
}

// Whether the mark after the number may be a digit the player did not
// type: a digit taught before reads there, or it has the digits' rows and
// is about as wide as they are (DigitLikeWidth), or looks like one of them.
bool LooksLikeADigit(const Capture& c, const Placement& p, const TypedNumber& number, const Mark& after,
                     const KnownPatterns& known) {
  for (const std::optional<Pattern>& k : known) {
    if (k && Reads(*k, c.grid, after.from)) return true;
  }
  // A digit of the font is about as wide as the others ('1' aside); a
  // bracket or a parenthesis is narrow, and its right half holds ink at the
  // top and the bottom but none between.
  const Mark& digit = c.At(p.digitMarks.front());
  if (!SameRows(after, digit) || BracketLike(c, after, digit)) return false;
  if (10 * after.Width() >= 7 * DigitLikeWidth(c, p, number)) return true;
  const CellSpan mark{after.from, after.Width()};
  return std::any_of(p.cells.begin(), p.cells.end(), [&](CellSpan cell) { return Alike(c, cell, mark); });
}

bool SeparatorChar(QChar ch) {
  return ch == u',' || ch == u'.' || ch == u'，' || ch == u'．' || ch == u'、' || ch.isSpace() || ch == u'\u2009';
}

// As ParseTypedNumber, but of any length: a number too long is told apart
// from one that is not a number at all.
std::optional<TypedNumber> ParseDigitString(const QString& text) {
  TypedNumber number;
  const QString trimmed = text.trimmed();
  for (qsizetype i = 0; i < trimmed.size(); ++i) {
    const QChar ch = trimmed[i];
    if (ch >= u'0' && ch <= u'9') {
      number.digits.append(ch);
      number.separatorAfter.push_back(false);
    } else if (ch >= u'０' && ch <= u'９') {
      number.digits.append(QChar(u'0' + (ch.unicode() - u'０')));
      number.separatorAfter.push_back(false);
    } else if (SeparatorChar(ch) && !number.separatorAfter.empty() && !number.separatorAfter.back()) {
      number.separatorAfter.back() = true;
    } else {
      return std::nullopt;  // a letter, a separator first or doubled
    }
  }
  if (number.digits.isEmpty() || number.separatorAfter.back()) return std::nullopt;
  return number;
}


// The number with a separator every three digits from the right, as
// counters group thousands.
std::optional<TypedNumber> InThousands(const TypedNumber& number) {
  const auto n = static_cast<int>(number.digits.size());
  if (n < 4 || std::find(number.separatorAfter.begin(), number.separatorAfter.end(), true) != number.separatorAfter.end()) {
    return std::nullopt;
  }
  TypedNumber grouped = number;
  for (int i = 0; i + 1 < n; ++i) grouped.separatorAfter[static_cast<std::size_t>(i)] = (n - 1 - i) % 3 == 0;
  return grouped;
}

}  // namespace

std::optional<TypedNumber> ParseTypedNumber(const QString& text) {
  std::optional<TypedNumber> number = ParseDigitString(text);
  if (number && number->digits.size() > kMaxCaptureDigits) return std::nullopt;
  return number;
}

std::vector<int> DigitCells::Edges() const {
  std::vector<int> edges;
  for (const CellSpan& s : spans) {
    edges.push_back(s.x);
    edges.push_back(s.x + s.width);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

namespace {

KnownPatterns PatternsOf(const KnownDigits& known, int rows) {
  KnownPatterns taught;
  for (std::size_t d = 0; d < 10; ++d) {
    const QImage& k = known[d];
    if (k.isNull() || k.width() > kMaxCellSide || k.height() != rows) continue;
    PixelGrid grid;
    ReadPixels(k.convertToFormat(QImage::Format_RGB32), grid);
    taught[d] = CellPattern(grid, 0, k.width(), k.height());
  }
  return taught;
}

// Whether the last digit's cell is cut short: two columns or more
// narrower than every other digit's, '1's (narrow in most fonts) aside
// (a digit's cell may hold a comma joined to it, so not than any).
bool CutShort(const Placement& p, const TypedNumber& number) {
  const std::size_t last = p.cells.size() - 1;
  if (number.digits[static_cast<qsizetype>(last)] == u'1') return false;
  bool others = false;
  for (std::size_t i = 0; i < last; ++i) {
    if (number.digits[static_cast<qsizetype>(i)] == u'1') continue;
    if (p.cells[i].width < p.cells[last].width + 2) return false;
    others = true;
  }
  return others;
}

// What follows the number: close to it the delimiter, cut from its own ink
// (a mark reaching above the digits' lower half, that reads nowhere a digit
// begins and looks like no digit: a digit too few typed is refused); two
// digits' width or more away, other text, which ends the number.
SegmentationRefusal End(const Capture& c, const TypedNumber& number, Placement& p, const KnownPatterns& known) {
  const int widest = p.WidestCell();
  for (std::size_t i = 1; i < p.cells.size(); ++i) {
    if (p.digitMarks[i] == p.digitMarks[i - 1] + 1) {
      p.digitGap = std::max(p.digitGap, c.At(p.digitMarks[i]).from - c.At(p.digitMarks[i - 1]).to);
    }
  }
  if (p.tail) {
    // Columns over after touching digits as wide as a digit are one more
    // digit, never the end; and a delimiter that touches them is a box's
    // frame or a bracket drawn close: anything else is the end of the last
    // digit, cut short by too small an advance (a 2's last columns).
    if (10 * p.tail->width >= 7 * widest) return SegmentationRefusal::DelimiterLooksLikeADigit;
    InkColumns ink(c.grid, p.tail->x + p.tail->width, c.rows);
    const Mark tail = RunOf(ink, p.tail->x, p.tail->x + p.tail->width);
    const Mark& digit = c.At(p.digitMarks.back());
    if (!SameRows(tail, digit) || !(BracketLike(c, tail, digit) || BarLike(c, tail, digit))) {
      return SegmentationRefusal::DelimiterLooksLikeADigit;
    }
    p.delimiter = p.tail;
  } else if (p.lastMark + 1 < c.Count()) {
    const Mark& after = c.At(p.lastMark + 1);
    // Reading measures the gap against the widest of all the area's digits:
    // so does this, or a mark taken for other text here could be one reading
    // must account for.
    int widestTaught = widest;
    for (const std::optional<Pattern>& k : known) {
      if (k) widestTaught = std::max(widestTaught, k->width);
    }
    const int wideGap = WideGap(widestTaught, p.digitGap);
    const int gap = after.from - (p.cells.back().x + p.cells.back().width);
    if (gap >= wideGap) {
      p.textGap = gap;
    } else {
      const Mark& digit = c.At(p.digitMarks.back());
      if (LowAndNarrow(after, digit) || LooksLikeADigit(c, p, number, after, known)) {
        return SegmentationRefusal::DelimiterLooksLikeADigit;
      }
      // Cut from the last digit's own run at a joint, it may be that digit's
      // far side (a bold 0's or 3's thin strokes look like a joint), and
      // reading would end any number on such a side: the digit's part is
      // then narrower than the other digits ('1' aside).
      if (after.from <= digit.to && CutShort(p, number)) return SegmentationRefusal::DelimiterLooksLikeADigit;
      p.delimiter = CellSpan{after.from, after.Width()};
    }
  }
  if (!p.delimiter) return SegmentationRefusal::None;
  if (p.delimiter->width > kMaxCellSide) return SegmentationRefusal::DigitsTouch;
  // One column is no mark of its own but a digit's faint edge: taken for
  // the delimiter it would end the number wherever a digit's edge is alike.
  if (p.delimiter->width < 2) return SegmentationRefusal::DelimiterLooksLikeADigit;
  // A bracket or a parenthesis is narrower than a digit; a mark wider is a
  // word, or glyphs run together that may hold a digit.
  if (p.delimiter->width > widest) return SegmentationRefusal::DelimiterLooksLikeADigit;
  // The delimiter ends reading where a mark begins: never anywhere on a
  // digit, or a digit not taught yet that begins alike (a 1 whose edge
  // matches the last columns of a 2) would end the number there instead of
  // failing it.
  const Pattern delimiter = CellPattern(c.grid, p.delimiter->x, p.delimiter->width, c.rows);
  const int from = std::max(0, p.cells.front().x - 1);
  const int to = p.cells.back().x + p.cells.back().width - p.delimiter->width;
  for (int x = from; x <= to; ++x) {
    if (Reads(delimiter, c.grid, x)) return SegmentationRefusal::DelimiterLooksLikeADigit;
  }
  return SegmentationRefusal::None;
}

// What the capture itself tells of a cut: digits taught before that read
// there, separators where they were typed, and no digit-like mark close
// before it (a digit left out). Ending at background rather than at a mark,
// and the leftmost, only guess: "Lv" taken for 15 is leftmost.
std::tuple<int, int, bool> Evidence(const Placement& p) {
  return std::tuple(p.knownMisses, p.separatorsMissing, p.digitBefore);
}

// How much a cut is to be preferred: lower first (see Fits); the evidence,
// then ending at background.
std::tuple<int, int, bool, bool> Preference(const Placement& p) {
  return std::tuple_cat(Evidence(p), std::tuple(p.delimiter.has_value()));
}

struct Fit {
  Placement placement;
  const TypedNumber* number = nullptr;
};

// The checks a placement the marks took goes through, in the order Fits
// makes them.
enum class Stage { NothingPlaced, Alike, Prefix, Taught, Split, End };

// Why no placement fits: the reason of the placement that came furthest
// through the checks (a repeated digit that differs tells less than a
// number that fits everywhere but ends in a digit-like mark).
struct Refusal {
  SegmentationRefusal why = SegmentationRefusal::CountDoesNotFit;
  Stage stage = Stage::NothingPlaced;

  void Note(SegmentationRefusal r, Stage at) {
    if (static_cast<int>(at) > static_cast<int>(stage)) {
      why = r;
      stage = at;
    }
  }
};

// Every placement of the typed number (and of it grouped in thousands,
// when typed without separators) that the marks allow and the area's
// model and earlier digits agree with; `refusal` gets why there is none.
// `elsewhere` gets the first mark of every place where marks look like the
// typed digits (they take their places, repeat where the digits repeat, and
// agree with what was taught) but end in a way no cut explains, such as a
// box's digits run into text after them.
std::vector<Fit> Fits(const Capture& c, const std::vector<TypedNumber>& readings, const KnownPatterns& taught,
                      const AreaLayout& layout, const PixelGrid& prefix, Split split, Refusal& refusal,
                      std::vector<int>& elsewhere) {
  std::vector<Fit> fits;
  Stage stage = Stage::NothingPlaced;
  const auto refuse = [&refusal, &stage](SegmentationRefusal r) { refusal.Note(r, stage); };
  for (const TypedNumber& reading : readings) {
    for (int first = 0; first < c.Count(); ++first) {
      std::optional<Placement> p = Place(c, reading, first, split);
      if (!p) continue;
      stage = Stage::Alike;
      if (split.advance == 0 || split.waists) EvenWidths(c, reading, taught, *p);
      const bool wholeAdvances = split.advance > 0 && !split.waists;
      if (const SegmentationRefusal r = CheckAlike(c, reading, *p, wholeAdvances); r != SegmentationRefusal::None) {
        refuse(r);
        continue;
      }
      // Before the number stands what the model names there, and nothing
      // when it names nothing.
      const int prefixAt = prefix.width > 0 && first > 0 ? PrefixNear(c.grid, prefix, c.At(0).from) : -1;
      const bool prefixShown = prefixAt >= 0 && prefixAt + prefix.width <= c.At(first).from;
      stage = Stage::Prefix;
      if (prefix.width > 0 ? !prefixShown : (layout.learned && first > 0)) {
        refuse(SegmentationRefusal::PrefixDiffers);
        continue;
      }
      bool alike = false;  // a digit taught before reads where another was typed, as reading takes it
      for (std::size_t i = 0; i < p->cells.size(); ++i) {
        const std::optional<Pattern>& k = taught[DigitOf(reading, i)];
        const CellSpan cell = p->cells[i];
        if (k && (k->width != cell.width || !Reads(*k, c.grid, cell.x))) ++p->knownMisses;
        for (std::size_t other = 0; other < taught.size(); ++other) {
          const std::optional<Pattern>& o = taught[other];
          if (o && other != DigitOf(reading, i) &&
              o->width == cell.width && PatternShown(*o, c.grid, cell.x)) {
            alike = true;
          }
        }
      }
      stage = Stage::Taught;
      if (alike) {
        refuse(SegmentationRefusal::DifferentDigitsAlike);
        continue;
      }
      stage = Stage::Split;
      if (split.advance > 0 && !SplitConfirmed(c, reading, *p, taught)) {
        refuse(SegmentationRefusal::DigitsTouch);
        continue;
      }
      stage = Stage::End;
      if (const SegmentationRefusal r = End(c, reading, *p, taught); r != SegmentationRefusal::None) {
        refuse(r);
        elsewhere.push_back(first);
        continue;
      }
      if (first > 0) {
        const Mark& before = c.At(first - 1);
        const int widest = p->WidestCell();
        // A mark far wider than the digits is a word ("Lv." run together).
        p->digitBefore = c.At(first).from - before.to < WideGap(widest, p->digitGap) &&
                         10 * before.Width() <= 13 * widest && LooksLikeADigit(c, *p, reading, before, taught);
      }
      fits.push_back({*p, &reading});
    }
    if (!fits.empty()) break;
  }
  // The digits taught before decide; then the separators typed standing
  // where they were typed; then a number with no digit-like mark close
  // before it (that would be a digit left out); then one that ends in
  // background (a wide gap, the area's end) before one that ends at a mark:
  // a word before the number ("LV" run together) taken for a digit has the
  // rest of the line close after it; then the leftmost: text after the
  // number (a percentage, a name) may hold digits, text before it not.
  std::stable_sort(fits.begin(), fits.end(),
                   [](const Fit& a, const Fit& b) { return Preference(a.placement) < Preference(b.placement); });
  return fits;
}

// The cells of the first reading the capture's marks fit, or why none does.
Segmentation CellsAmong(const Capture& c, const std::vector<TypedNumber>& readings, const KnownPatterns& taught,
                        const AreaLayout& layout, const PixelGrid& prefix) {
  Segmentation result;
  Refusal refusal;
  std::vector<int> elsewhere;
  std::vector<Fit> fits = Fits(c, readings, taught, layout, prefix, Split{}, refusal, elsewhere);
  // Fewer marks than digits: digits that touch, cut at one advance.
  // A split that leaves columns over for a delimiter touching the digits
  // only when none explains the marks without.
  bool split = false;
  if (fits.empty() && refusal.stage == Stage::NothingPlaced) {
    Refusal splitRefusal;
    for (const int cut : c.cutAtWaists ? std::vector<int>{2} : std::vector<int>{0, 1}) {  // whole, ragged; waists
      const bool ragged = cut == 1;
      const bool waists = cut == 2;
      for (const bool tail : {false, true}) {
        // The widest advance first: it leaves the fewest columns to a delimiter.
        for (int advance = kMaxCellSide; fits.empty() && advance >= 2; --advance) {
          for (int extra = 0; extra <= (cut > 0 ? 0 : 1) && fits.empty(); ++extra) {
            fits = Fits(c, readings, taught, layout, prefix, {advance, extra, tail, ragged, waists}, splitRefusal,
                        elsewhere);
          }
        }
      }
    }
    split = !fits.empty();
    refusal = splitRefusal;
  }
  if (fits.empty()) {
    result.refusal = refusal.why;
    return result;
  }
  const Placement& best = fits.front().placement;
  // Two cuts alike in everything the capture can tell (Evidence): before
  // the area has a model, the number may be either ("EXP" typed over as
  // "952" beside three boxed digits), and a guess would be saved as
  // digits. With a model, the player checks; so too a cut of touching
  // digits at one advance. Marks elsewhere that look like the digits but
  // end in text run into them leave the same doubt, and so does any second
  // cut of one digit typed: "EX" of "EXP.4" is as much a 4 as the 4 is.
  const bool oneDigit = fits.front().number->digits.size() == 1;
  const bool doubt =
      std::any_of(elsewhere.begin(), elsewhere.end(), [&best](int first) { return first != best.firstMark; });
  const bool tie = (fits.size() > 1 && (oneDigit || Evidence(fits[1].placement) == Evidence(best))) || doubt;
  if (tie && !layout.learned) {
    result.refusal = SegmentationRefusal::Ambiguous;
    return result;
  }
  result.uncertain = split || tie;

  DigitCells& cells = result.cells;
  cells.digits = fits.front().number->digits;
  cells.height = c.rows;
  cells.separators = best.separatorMark;
  for (const CellSpan& cell : best.cells) {
    if (cell.width > kMaxCellSide) {
      result.refusal = SegmentationRefusal::DigitsTouch;
      return result;
    }
    cells.spans.push_back(cell);
  }
  cells.digitGap = best.digitGap;
  cells.textGap = best.textGap;
  if (best.firstMark > 0) cells.prefix = CellSpan{c.At(0).from, c.At(best.firstMark - 1).to - c.At(0).from};
  if (best.delimiter) {
    cells.spans.push_back(*best.delimiter);
    cells.hasDelimiter = true;
  }
  return result;
}

}  // namespace

Segmentation FindDigitCells(const QImage& capture, const QString& typed, int area, const KnownDigits& known,
                            const AreaLayout& layout) {
  Segmentation result;
  const std::optional<TypedNumber> number = ParseTypedNumber(typed);
  if (!number) {
    result.refusal = ParseDigitString(typed) ? SegmentationRefusal::TooManyDigits : SegmentationRefusal::NotADigitString;
    return result;
  }
  Capture c;
  ReadPixels(capture.convertToFormat(QImage::Format_RGB32), c.grid);
  c.rows = std::min(c.grid.height, kMaxCellSide);
  c.marks = MarksOf(c.grid, c.rows, Joints::None);
  c.medianHeight = MedianHeight(c.marks);
  c.level = area == 0;
  // A cell's rows are told apart from noise's steps on the capture
  // without it.
  PixelGrid clean;
  ReadPixels(WithoutNoise(capture), clean);
  InkColumns ink(clean, clean.width, c.rows);
  c.columnRows.resize(static_cast<std::size_t>(clean.width));
  for (int x = 0; x < clean.width; ++x) c.columnRows[static_cast<std::size_t>(x)] = ink.RowsAt(x);
  if (c.marks.empty()) {
    result.refusal = SegmentationRefusal::NothingAtTheTop;
    return result;
  }
  const KnownPatterns taught = PatternsOf(known, c.rows);
  PixelGrid prefix;
  if (!layout.prefix.isNull() && layout.prefix.height() == c.rows) {
    ReadPixels(layout.prefix.convertToFormat(QImage::Format_RGB32), prefix);
  }
  std::vector<TypedNumber> readings{*number};
  if (const std::optional<TypedNumber> grouped = InThousands(*number)) readings.push_back(*grouped);
  // Glyphs joined by an outline, a shadow or their anti-aliased edges are
  // cut apart only when the marks as they run explain nothing: a cut at a
  // joint is a guess about whose edge the joint is. Faint joints first:
  // cut at a dark outline as well, the letters of words around the number
  // stand apart too, and short numbers find more places that fit them.
  std::vector<Capture> joined;
  for (const Joints joints : {Joints::Faint, Joints::OtherSide}) {
    Capture cut = c;
    cut.marks = MarksOf(c.grid, c.rows, joints);
    const std::vector<Mark>& before = joined.empty() ? c.marks : joined.back().marks;
    if (cut.marks.size() != before.size()) joined.push_back(std::move(cut));
  }
  // The plain marks' reason is the one given; `differs` whether any
  // search came as far as a digit typed twice that looks otherwise.
  bool differs = false;
  bool everDiffers = false;  // in any search, the plain marks' or a cut's
  bool ambiguous = false;
  const auto search = [&] {
    for (Capture& cut : joined) {
      cut.looksMayDiffer = c.looksMayDiffer;
      cut.nearerThanOthers = c.nearerThanOthers;
      cut.cutAtWaists = c.cutAtWaists;
      cut.valleys = c.valleys;
    }
    Segmentation found = CellsAmong(c, readings, taught, layout, prefix);
    ambiguous = ambiguous || found.refusal == SegmentationRefusal::Ambiguous;
    differs = found.refusal == SegmentationRefusal::RepeatedDigitDiffers;
    if (found.refusal == SegmentationRefusal::None) return found;
    for (const Capture& cut : joined) {
      Segmentation apart = CellsAmong(cut, readings, taught, layout, prefix);
      ambiguous = ambiguous || apart.refusal == SegmentationRefusal::Ambiguous;
      differs = differs || apart.refusal == SegmentationRefusal::RepeatedDigitDiffers;
      if (apart.refusal == SegmentationRefusal::None) return apart;
    }
    return found;
  };
  // A digit typed twice may stand at two fractions of a pixel and be drawn
  // a little otherwise at each. Its glyphs are taken as two looks of it
  // only when no cut finds them alike, the surer sign that a cut is right.
  const auto searchLooks = [&] {
    c.looksMayDiffer = false;
    Segmentation found = search();
    if (found.refusal == SegmentationRefusal::None || !differs) return found;
    c.looksMayDiffer = true;
    Segmentation looks = search();
    if (looks.refusal == SegmentationRefusal::None) return looks;
    everDiffers = everDiffers || differs;
    return found;
  };
  // Whole advances, then waists, then valleys, each only where the one
  // before cut nothing.
  const auto everyCut = [&]() -> Segmentation {
    c.cutAtWaists = false;
    c.valleys = false;
    Segmentation whole = searchLooks();
    if (whole.refusal == SegmentationRefusal::None) return whole;
    // Touching digits cut at their waists only when whole advances cut none.
    c.cutAtWaists = true;
    Segmentation waists = searchLooks();
    if (waists.refusal == SegmentationRefusal::None) return waists;
    // Last, digits that touch with no digit typed twice nor taught before to
    // bear the cut out: the cuts alone may (ValleysBetween), but only where
    // no search found the number in two places (a name after the level cut
    // the same way is as much a number as the number is).
    const bool touch =
        whole.refusal == SegmentationRefusal::DigitsTouch || waists.refusal == SegmentationRefusal::DigitsTouch;
    if (!touch || ambiguous) return whole;
    c.valleys = true;
    Segmentation valleys = searchLooks();
    return valleys.refusal == SegmentationRefusal::None && !ambiguous ? valleys : whole;
  };
  result = everyCut();
  // A digit typed twice whose glyphs no cut finds nearly alike is taken
  // where they lie far nearer each other than any other digit, or alike
  // half a pixel over, only when every search above has failed: looser, it
  // would let an earlier cut in the search pass ahead of the one the
  // stricter rule finds.
  if (result.refusal == SegmentationRefusal::None || !everDiffers) return result;
  c.nearerThanOthers = true;
  const Segmentation nearer = everyCut();
  return nearer.refusal == SegmentationRefusal::None ? nearer : result;
}

int GlyphLikeness(const PixelGrid& grid, CellSpan a, CellSpan b, int rows) {
  const Pattern p = CellPattern(grid, a.x, std::min(a.width, b.width), rows);
  int best = 0;
  for (int x = std::max(0, b.x - 1); x <= b.x + 1; ++x) best = std::max(best, MatchScore(p, grid, x));
  return best;
}

Pattern CellPattern(const PixelGrid& grid, int x, int width, int height) {
  Pattern p;
  p.width = width;
  p.height = height;
  for (int cx = 0; cx < width; ++cx) {
    for (int y = 0; y < height; ++y) {
      const std::uint32_t v = x + cx < grid.width ? grid.At(x + cx, y) : 0;
      p.pixels[static_cast<std::size_t>(cx)][static_cast<std::size_t>(y)] = {
          static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)};
    }
  }
  return p;
}


QImage CellPicture(const QImage& capture, const DigitCells& cells, int index) {
  if (index < 0 || index >= cells.CellCount()) return {};
  const CellSpan& s = cells.spans[static_cast<std::size_t>(index)];
  return capture.copy(QRect(s.x, 0, s.width, cells.height)).convertToFormat(QImage::Format_RGB32);
}

bool MoveBoundary(DigitCells& cells, int edge, int step, int captureWidth) {
  const std::vector<int> edges = cells.Edges();
  if (edge < 0 || edge >= static_cast<int>(edges.size())) return false;
  const int at = edges[static_cast<std::size_t>(edge)];
  std::vector<CellSpan> moved = cells.spans;
  for (CellSpan& s : moved) {
    const int end = s.x + s.width;
    if (s.x == at) s.x += step;
    s.width = (end == at ? end + step : end) - s.x;
    if (s.x < 0 || s.x + s.width > captureWidth || s.width < 1 || s.width > kMaxCellSide) return false;
  }
  cells.spans = std::move(moved);
  return true;
}

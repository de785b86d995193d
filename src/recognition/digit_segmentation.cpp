#include "recognition/digit_segmentation.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <tuple>

#include "base/pixel_grid.h"
#include "recognition/ink_map.h"
#include "recognition/recognition.h"
#include "recognition/reference_scan.h"

namespace {

// Two cells' pixels at the same place show different things when a
// channel lies further apart than this: the noise of a grab (±8 in each)
// and a gentle gradient across the number stay below, a stroke is far
// above.
constexpr int kSpread = 32;
// Layouts, best first by what the columns alone tell, whose cells are cut
// out and read back.
constexpr std::size_t kCheckedLayouts = 16;
// Rows, over the first and last columns of the cells together, that may
// differ between cells of a layout that still cuts cleanly.
constexpr int kCleanVariation = 2;

using RowBits = std::uint64_t;

struct Capture {
  PixelGrid grid;
  InkMap ink;
  int firstInk = -1;
  int glyphRows = 0;  // one row below the lowest ink, at most the rows looked at

  int Width() const { return grid.width; }
  RowBits Rows(int from, int to) const {
    RowBits rows = 0;
    for (int x = from; x < to; ++x) rows |= ink.Column(x);
    return rows;
  }
  int NextInk(int from) const {
    for (int x = std::max(from, 0); x < Width(); ++x) {
      if (ink.Column(x) != 0) return x;
    }
    return Width();
  }
  int LowestInk(int from, int to) const {
    const RowBits rows = Rows(from, to);
    return rows == 0 ? -1 : 63 - std::countl_zero(rows);
  }
};

// One way of laying the cells, and how well it explains the capture.
struct Layout {
  int advance = 0;      // from one digit's cell to the next
  int cellWidth = 0;    // the advance, or one more: neighbours share a column
  int separator = 0;    // columns of a separator slot
  std::vector<int> starts;
  int end = 0;          // one past the last digit's cell
  std::optional<CellSpan> delimiter;

  int hintMiss = 0;       // cells of a width other than the patterns taught
  int knownMisses = 0;    // digits taught before whose pattern does not read their cell here
  int variation = 0;      // rows where a cell's first or last column differs between cells
  int cutAtEnd = 0;       // rows where ink runs on from the last cell into the next column
  int drift = 0;           // how far the glyphs' middles wander within their cells: a wrong advance
  int numberCentring = 0;  // blank columns before the number against those after its last digit
  int cellCentring = 0;    // the same within each cell

  auto CheapKey() const {
    // A clean layout, cut where every cell agrees (a gap between digits, a
    // box), is the digits' own; where digits touch, no cut is clean, and a
    // layout whose last cell cuts a glyph, or whose glyphs wander within
    // their cells (the advance is wrong), is the worse one.
    const bool clean = variation <= kCleanVariation;
    return std::make_tuple(hintMiss, !clean, cutAtEnd, drift, variation, numberCentring, cellCentring,
                           cellWidth - advance, advance, starts[0]);
  }
  auto Key() const { return std::tuple_cat(std::make_tuple(knownMisses), CheapKey()); }
};

// A glyph's columns are connected: between a cell's first and last ink
// columns none is blank.
bool HoldsOneGlyph(const Capture& c, int from, int to, int& first, int& last) {
  first = -1;
  for (int x = from; x < to; ++x) {
    if (c.ink.Column(x) == 0) continue;
    if (first < 0) first = x;
    last = x;
  }
  if (first < 0) return false;
  for (int x = first; x <= last; ++x) {
    if (c.ink.Column(x) == 0) return false;
  }
  return true;
}

// Rows where the pixels at `offset` of the cells (and of the patterns
// taught before, as wide as these cells) do not agree.
int Variation(const Capture& c, const std::vector<int>& starts, int offset, const std::vector<const PixelGrid*>& known) {
  int rows = 0;
  for (int y = 0; y < c.glyphRows; ++y) {
    std::array<int, 3> low{255, 255, 255};
    std::array<int, 3> high{0, 0, 0};
    const auto take = [&](std::uint32_t p) {
      for (int ch = 0; ch < 3; ++ch) {
        const int v = static_cast<int>(p >> (8 * ch) & 0xFF);
        low[ch] = std::min(low[ch], v);
        high[ch] = std::max(high[ch], v);
      }
    };
    for (const int start : starts) take(c.grid.At(start + offset, y));
    for (const PixelGrid* k : known) {
      if (y < k->height) take(k->At(offset, y));
    }
    for (int ch = 0; ch < 3; ++ch) {
      if (high[ch] - low[ch] > kSpread) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

std::optional<Layout> Lay(const Capture& c, const TypedNumber& number, int advance, int cellWidth, int separator,
                          int origin, int hint, const std::vector<const PixelGrid*>& knownOfWidth) {
  Layout l;
  l.advance = advance;
  l.cellWidth = cellWidth;
  l.separator = separator;
  const int n = static_cast<int>(number.digits.size());
  int x = origin;
  for (int i = 0; i < n; ++i) {
    l.starts.push_back(x);
    x += advance + (number.separatorAfter[static_cast<std::size_t>(i)] ? separator : 0);
  }
  l.end = l.starts.back() + cellWidth;
  if (l.end > c.Width()) return std::nullopt;
  // Strokes that run on past the last cell: a glyph cut, or a delimiter
  // drawn touching the last digit.
  l.cutAtEnd = l.end < c.Width() ? std::popcount(c.ink.Column(l.end - 1) & c.ink.Column(l.end)) : 0;
  const int tall = (c.glyphRows + 1) / 2;
  std::vector<int> middles;  // twice the glyph's middle column within its cell
  for (int i = 0; i < n; ++i) {
    const int from = l.starts[static_cast<std::size_t>(i)];
    int first = 0;
    int last = 0;
    if (!HoldsOneGlyph(c, from, from + cellWidth, first, last)) return std::nullopt;
    const int lead = first - from;
    const int trail = from + cellWidth - 1 - last;
    l.cellCentring += std::abs(lead - trail);
    middles.push_back(first + last - 2 * from);
    if (i == 0) l.numberCentring += lead;
    if (i == n - 1) l.numberCentring = std::abs(l.numberCentring - trail);
    // A separator is lower than half a digit, or blank.
    if (number.separatorAfter[static_cast<std::size_t>(i)] &&
        std::popcount(c.Rows(from + advance, from + advance + separator)) >= tall) {
      return std::nullopt;
    }
  }
  std::vector<int> sorted = middles;
  std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
  for (const int m : middles) l.drift += std::abs(m - sorted[static_cast<std::size_t>(n / 2)]);
  // As many glyphs as digits: a run of ink counts as the glyphs it is wide
  // (touching glyphs, a row of boxes), rounded; a separator's own aside.
  int glyphs = 0;
  for (int x = l.starts[0]; x < l.end;) {
    if (c.ink.Column(x) == 0) {
      ++x;
      continue;
    }
    int runEnd = x;
    while (runEnd < l.end && c.ink.Column(runEnd) != 0) ++runEnd;
    bool separatorOnly = false;
    for (int i = 0; i + 1 < n; ++i) {
      const int slot = l.starts[static_cast<std::size_t>(i)] + advance;
      separatorOnly |= number.separatorAfter[static_cast<std::size_t>(i)] && x >= slot && runEnd <= slot + separator;
    }
    if (!separatorOnly) glyphs += std::max(1, (runEnd - x + advance / 2) / advance);
    x = runEnd;
  }
  if (glyphs != n) return std::nullopt;
  // Nothing, or a glyph within a cell of background: the delimiter.
  const int next = c.NextInk(l.end);
  if (next < c.Width() && next - l.end < cellWidth) {
    int runEnd = next;
    while (runEnd < c.Width() && c.ink.Column(runEnd) != 0) ++runEnd;
    // A single column that every cell begins with is the frame closing the
    // last digit's box, shared with the next: cells one column wider take it.
    if (runEnd - next == 1 && std::all_of(l.starts.begin(), l.starts.end(), [&](int start) {
          return Variation(c, {start, next}, 0, {}) == 0;
        })) {
      return std::nullopt;
    }
    // A delimiter drawn touching the last digit is a glyph of its own, two
    // columns or more but no wider than a digit: a sliver or ink running on
    // is a digit cut apart.
    if (next == l.end && (c.ink.Column(l.end - 1) & c.ink.Column(l.end)) != 0 &&
        (runEnd - next > cellWidth || runEnd - next < 2)) {
      return std::nullopt;
    }
    const int from = next > l.end ? next - 1 : next;
    const int to = std::min({runEnd < c.Width() ? runEnd + 1 : runEnd, from + cellWidth});
    l.delimiter = CellSpan{from, to - from};
  }
  l.hintMiss = hint > 0 && cellWidth != hint ? 1 : 0;
  l.variation = Variation(c, l.starts, 0, knownOfWidth) + Variation(c, l.starts, cellWidth - 1, knownOfWidth);
  return l;
}

Pattern CellPattern(const PixelGrid& grid, int x, int width, int height) {
  Pattern p;
  p.width = width;
  p.height = height;
  for (int dx = 0; dx < width; ++dx) {
    for (int y = 0; y < height; ++y) {
      const std::uint32_t v = grid.At(x + dx, y);
      p.pixels[dx][y] = PixelColor{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((v >> 16) & 0xFF)};
    }
  }
  return p;
}

bool Reads(const Pattern& p, const PixelGrid& grid, int x) { return MatchScore(p, grid, x) > kMatchThreshold; }

// Cuts the layout's cells and checks them as recognition will use them:
// one digit's cells alike, different digits' cells different, the patterns
// taught before agreeing, no digit where the delimiter stands and the
// delimiter nowhere inside the digits; and the capture read back as typed.
SegmentationRefusal Check(const Capture& c, const TypedNumber& number, Layout& l,
                          const std::array<std::optional<Pattern>, 10>& known, DigitCells& cells) {
  const int n = static_cast<int>(number.digits.size());
  const int right = l.delimiter ? l.delimiter->x + l.delimiter->width : l.end;
  cells.digits = number.digits;
  cells.height = std::min(c.ink.rows, c.LowestInk(l.starts[0], right) + 2);
  cells.spans.clear();
  for (const int start : l.starts) cells.spans.push_back({start, l.cellWidth});
  cells.hasDelimiter = l.delimiter.has_value();
  if (l.delimiter) cells.spans.push_back(*l.delimiter);

  std::vector<Pattern> patterns;
  for (const CellSpan& s : cells.spans) patterns.push_back(CellPattern(c.grid, s.x, s.width, cells.height));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      if (i == j) continue;
      const bool alike = Reads(patterns[static_cast<std::size_t>(i)], c.grid, l.starts[static_cast<std::size_t>(j)]);
      const bool same = number.digits[i] == number.digits[j];
      if (same && !alike) return SegmentationRefusal::RepeatedDigitDiffers;
      if (!same && alike) return SegmentationRefusal::DifferentDigitsAlike;
    }
  }
  l.knownMisses = 0;
  for (int d = 0; d < 10; ++d) {
    const std::optional<Pattern>& k = known[static_cast<std::size_t>(d)];
    if (!k) continue;
    // Cut a column otherwise before, a pattern still reads its digit one
    // column off.
    for (int i = 0; i < n; ++i) {
      const int start = l.starts[static_cast<std::size_t>(i)];
      if (number.digits[i].digitValue() == d) {
        l.knownMisses += Reads(*k, c.grid, start) ? 0 : 1;
      } else if (Reads(*k, c.grid, start - 1) || Reads(*k, c.grid, start) || Reads(*k, c.grid, start + 1)) {
        return SegmentationRefusal::DifferentDigitsAlike;
      }
    }
  }
  if (l.delimiter) {
    const Pattern& mark = patterns.back();
    for (int x = l.delimiter->x - 1; x < l.delimiter->x + l.delimiter->width; ++x) {
      const auto digitThere = [&](const Pattern& p) { return Reads(p, c.grid, x); };
      if (std::any_of(patterns.begin(), patterns.end() - 1, digitThere) ||
          std::any_of(known.begin(), known.end(), [&](const std::optional<Pattern>& k) { return k && digitThere(*k); })) {
        return SegmentationRefusal::DelimiterLooksLikeADigit;
      }
    }
    // Tried wherever no digit reads, the delimiter would end a number at a
    // digit not taught yet.
    for (int x = l.starts[0]; x < l.end; ++x) {
      if (Reads(mark, c.grid, x)) return SegmentationRefusal::DelimiterLooksLikeADigit;
    }
  }

  // Read as the experience area, which takes numbers of any length.
  PatternSet set;
  set.cellWidth[1] = l.cellWidth;
  set.cellHeight[1] = cells.height;
  set.taughtFromCaptures[1] = true;
  for (int i = 0; i < n; ++i) {
    set.digitPatterns[10 + static_cast<std::size_t>(number.digits[i].digitValue())] = patterns[static_cast<std::size_t>(i)];
  }
  if (l.delimiter) set.delimiterPatterns[1] = patterns.back();
  // The plain scan: no preparation of the patterns, which would cost more
  // than reading one capture.
  const RecognitionResult read =
      RecognizeDigitsReference({PixelGrid{}, c.grid}, {0, c.Width()}, set, 0, false, {}, ReferenceReport::DebugModeOnly);
  if (read.digits[1] != number.digits || !read.failures[1].isEmpty()) return SegmentationRefusal::NotReadBack;
  return SegmentationRefusal::None;
}

// Every layout of the number's digits the columns allow, best first by what
// the columns alone tell.
std::vector<Layout> Layouts(const Capture& c, const TypedNumber& number, int pitchHint,
                            const std::vector<PixelGrid>& knownGrids) {
  const int n = static_cast<int>(number.digits.size());
  const bool separated = std::find(number.separatorAfter.begin(), number.separatorAfter.end(), true) !=
                         number.separatorAfter.end();
  std::vector<Layout> layouts;
  for (int advance = 2; advance <= kMaxCellSide; ++advance) {
    if (c.firstInk + static_cast<long long>(n - 1) * advance > c.Width()) break;
    for (int cellWidth = advance; cellWidth <= std::min(advance + 1, kMaxCellSide); ++cellWidth) {
      std::vector<const PixelGrid*> knownOfWidth;
      for (const PixelGrid& g : knownGrids) {
        if (g.width == cellWidth) knownOfWidth.push_back(&g);
      }
      for (int separator = separated ? 1 : 0; separator <= (separated ? advance : 0); ++separator) {
        for (int origin = std::max(0, c.firstInk - cellWidth + 1); origin <= c.firstInk; ++origin) {
          if (std::optional<Layout> l = Lay(c, number, advance, cellWidth, separator, origin, pitchHint, knownOfWidth)) {
            layouts.push_back(std::move(*l));
          }
        }
      }
    }
  }
  std::sort(layouts.begin(), layouts.end(), [](const Layout& a, const Layout& b) { return a.CheapKey() < b.CheapKey(); });
  return layouts;
}

// Whether one digit fewer than typed lays out cleanly (its cells cut where
// every cell agrees) and far better: cells of the typed count then cut
// glyphs apart, and a digit was probably typed twice.
bool FewerDigitsFitBetter(const Capture& c, const TypedNumber& number, const Layout& best) {
  if (number.digits.size() < 2) return false;
  TypedNumber fewer;
  for (int i = 0; i + 1 < static_cast<int>(number.digits.size()); ++i) {
    fewer.digits.append(QChar(u'0' + i % 10));  // all different: no digit must repeat
    fewer.separatorAfter.push_back(false);
  }
  const std::vector<Layout> layouts = Layouts(c, fewer, 0, {});
  return !layouts.empty() && layouts.front().variation <= kCleanVariation &&
         layouts.front().variation + std::max(2, c.glyphRows / 2) <= best.variation;
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

struct Known {
  std::vector<PixelGrid> grids = std::vector<PixelGrid>(10);
  std::array<std::optional<Pattern>, 10> patterns;
};

struct Segmented {
  Segmentation result;
  int misfits = 0;  // digits taught before that read otherwise here, and cells of another width than theirs
};

Segmented Segment(const Capture& c, const TypedNumber& number, int pitchHint, const Known& known) {
  Segmented segmented;
  Segmentation& result = segmented.result;
  const std::vector<Layout> layouts = Layouts(c, number, pitchHint, known.grids);
  if (layouts.empty()) {
    result.refusal = SegmentationRefusal::CountDoesNotFit;
    return segmented;
  }
  // A layout that explains the columns far worse than the best is no
  // alternative when the best ones are refused for what their cells show
  // (two digits alike, the delimiter a digit): that refusal stands. Where
  // the best cuts cleanly (every cell agrees at its edges, as with a gap
  // between digits or a box), anything worse is; where digits touch, edges
  // differ anyway and the columns tell less.
  const int best = std::min_element(layouts.begin(), layouts.end(), [](const Layout& a, const Layout& b) {
                     return a.variation < b.variation;
                   })->variation;
  const int worst = best + (best <= kCleanVariation ? kCleanVariation : c.glyphRows);
  std::vector<Layout> checked;
  for (const Layout& l : layouts) {
    if (l.variation <= worst && checked.size() < kCheckedLayouts) checked.push_back(l);
  }

  std::vector<std::pair<Layout, DigitCells>> readable;
  SegmentationRefusal firstRefusal = SegmentationRefusal::None;
  for (Layout& l : checked) {
    DigitCells cells;
    const SegmentationRefusal refusal = Check(c, number, l, known.patterns, cells);
    if (refusal == SegmentationRefusal::None) {
      readable.emplace_back(l, std::move(cells));
    } else if (firstRefusal == SegmentationRefusal::None) {
      firstRefusal = refusal;
    }
  }
  if (readable.empty()) {
    result.refusal = firstRefusal;
    return segmented;
  }
  std::stable_sort(readable.begin(), readable.end(),
                   [](const auto& a, const auto& b) { return a.first.Key() < b.first.Key(); });
  const Layout& chosen = readable.front().first;
  // Cells of another width than those taught, or a taught digit that does
  // not read its cell here, make a set whose patterns disagree.
  segmented.misfits = chosen.knownMisses + chosen.hintMiss;
  result.uncertain = segmented.misfits > 0 || FewerDigitsFitBetter(c, number, chosen);
  for (const auto& [other, cells] : readable) {
    // (Whether a glyph about a cell after the number is its delimiter or
    // not reads the same either way.)
    const bool differs = other.advance != chosen.advance;
    if (differs && other.knownMisses == chosen.knownMisses && other.hintMiss == chosen.hintMiss &&
        other.variation <= chosen.variation + 1 && other.cutAtEnd <= chosen.cutAtEnd && other.drift <= chosen.drift + 1) {
      result.uncertain = true;
    }
  }
  result.cells = std::move(readable.front().second);
  return segmented;
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

Segmentation FindDigitCells(const QImage& capture, const QString& typed, int pitchHint, const KnownDigits& known) {
  Segmentation result;
  const std::optional<TypedNumber> number = ParseTypedNumber(typed);
  if (!number) {
    result.refusal = ParseDigitString(typed) ? SegmentationRefusal::TooManyDigits : SegmentationRefusal::NotADigitString;
    return result;
  }
  Capture c;
  ReadPixels(capture, c.grid);
  c.ink = FindInk(c.grid, std::min(c.grid.height, kMaxCellSide));
  c.firstInk = c.NextInk(0);
  if (c.ink.rows <= 0 || c.firstInk >= c.Width()) {
    result.refusal = SegmentationRefusal::NothingAtTheTop;
    return result;
  }
  c.glyphRows = std::min(c.ink.rows, c.LowestInk(0, c.Width()) + 2);

  Known taught;
  for (std::size_t d = 0; d < 10; ++d) {
    const QImage& k = known[d];
    if (k.isNull() || k.width() > kMaxCellSide || k.height() > kMaxCellSide) continue;
    ReadPixels(k.convertToFormat(QImage::Format_RGB32), taught.grids[d]);
    taught.patterns[d] = CellPattern(taught.grids[d], 0, k.width(), k.height());
  }
  Segmented plain = Segment(c, *number, pitchHint, taught);
  // Typed without the separators the counter shows: the usual grouping,
  // when it fits where the digits as typed do not, or fit only otherwise
  // than the patterns taught before.
  const bool poorFit = plain.result.refusal == SegmentationRefusal::CountDoesNotFit ||
                       plain.result.refusal == SegmentationRefusal::NotReadBack || plain.misfits > 0;
  if (const std::optional<TypedNumber> grouped = InThousands(*number); poorFit && grouped) {
    Segmented second = Segment(c, *grouped, pitchHint, taught);
    if (second.result.refusal == SegmentationRefusal::None &&
        (plain.result.refusal != SegmentationRefusal::None || second.misfits < plain.misfits)) {
      return second.result;
    }
  }
  return plain.result;
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

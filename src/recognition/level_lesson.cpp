#include "recognition/level_lesson.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "persistence/pattern_store.h"
#include "recognition/area_reading.h"
#include "recognition/capture_noise.h"
#include "recognition/digit_segmentation.h"
#include "recognition/ink_columns.h"
#include "recognition/mark_walk.h"
#include "recognition/match_rule.h"
#include "recognition/picture_match.h"
#include "recognition/recognition.h"

namespace {

constexpr int kLevelArea = 0;
constexpr int kHighestLevel = 300;
// A glyph a level-up takes for a new digit scores no higher than this
// against every taught digit, nor against another new digit that differs:
// a taught digit drawn a little otherwise scores above it (and reads, above
// the match threshold), while different digits that share much background
// (in boxes, small in a large cell, over noise) score up to it: a boxed 5
// scores 9173 against the 0, a 6 of a small font 9272 against the 5.
constexpr int kNewDigitDistinct = 9600;


struct Laid {
  std::vector<CellSpan> unknown;  // the glyphs no pattern knows, one per new digit
  // Taught digits that only nearly read where the level puts them: the
  // same glyph at another fraction of a pixel or over another part of the
  // background, a new look of the digit (digit, its columns).
  std::vector<std::pair<int, CellSpan>> looks;
};

// A glyph where the walk looks for a digit: the columns a look may start
// at, and its ink's.
struct Glyph {
  int from = 0;
  int last = 0;
  int u = 0;    // its first column of ink
  int end = 0;  // one past its last, where the mark ends
};

// A new look of a taught digit: the glyph's columns, and the blank ones at
// the look's right.
struct NearLook {
  CellSpan cell;
  int trail = 0;
};

// Whether a cell ending at column `end` of `grid` cuts a stroke in two:
// the column after it repeats its last one, pixel for pixel within the
// jump that makes ink. Glyphs that run together share a stroke (a 3's
// right side that is the 0's left): a cell ending inside it leaves half of
// it to the next digit, which then reads as another (the second 3 of 33
// as an 8).
bool CutsAStroke(const PixelGrid& grid, int end) {
  if (end <= 0 || end >= grid.width) return false;
  for (int y = 0; y < grid.height; ++y) {
    if (ChannelDistance(grid.At(end - 1, y), grid.At(end, y)) > kInkJump) return false;
  }
  return true;
}

// Whether `glyph` is one of `looks` at another fraction of a pixel: a look
// holds the mark's ink to its end, and nothing in it differs beyond what a
// shift of its edges explains. A glyph that touches the one before (an
// outline, a shadow) is looked at as well: the look overlaps that glyph by
// a column at most, and its outermost columns are left to the count, so a
// neighbour's stroke cannot stand in for one of its own. Failing that, a
// glyph spread past every look (its anti-aliased side showing where it
// did not: a column or two after the look, or a column before it, where
// the glyph's first column of ink is) that a look shows but for those
// columns is a look of its own width, glyph and all, where it fits a
// pattern of size `pattern` (VariantFits). Last, a glyph that runs into
// the next (outlines or sides that touch) is a look of the look's own
// columns where they end without cutting a stroke; what lies after them is
// the next digit's.
std::optional<NearLook> NearLookAt(const PixelGrid& grid, const std::vector<DigitLook>& looks, const Glyph& glyph,
                                   int allowed, QSize pattern) {
  for (int x = glyph.from; x <= glyph.last; ++x) {
    for (const DigitLook& look : looks) {
      const int end = x + look.picture.width;
      if (end <= glyph.u || glyph.end > end || !FewUnexplained(grid, look.picture, x, allowed)) continue;
      return NearLook{{x, look.picture.width}, look.trail};
    }
  }
  for (int x = glyph.from; x <= glyph.last + 1; ++x) {
    for (const DigitLook& look : looks) {
      const int begin = std::min(x, glyph.last);
      const int end = std::max(x + look.picture.width, glyph.end);
      if (x + look.picture.width <= glyph.u || !VariantFits(QSize(end - begin, pattern.height()), pattern) ||
          !FewUnexplained(grid, look.picture, x, allowed)) {
        continue;
      }
      return NearLook{{begin, end - begin}, end - glyph.end};
    }
  }
  for (int x = glyph.from; x <= glyph.last; ++x) {
    for (const DigitLook& look : looks) {
      const int end = x + look.picture.width;
      if (end <= glyph.u || CutsAStroke(grid, end) || !FewUnexplained(grid, look.picture, x, allowed)) continue;
      return NearLook{{x, look.picture.width}, look.trail};
    }
  }
  return std::nullopt;
}

// Failing every near look: whether the glyph is far nearer one of the
// looks of digit `d` than any look of another taught digit
// (FarNearerAllowed, OtherDigitsBeyond): an anti-aliased stem at another
// fraction of a pixel, where the look's two half-shaded columns are one
// shaded fully, differs from every look by a few pixels a row.
std::optional<NearLook> NearestLookAt(const PixelGrid& grid, const AreaShape& shape, int d, const Glyph& glyph,
                                      int glyphRows) {
  const auto fits = [&](int x, const DigitLook& look) {
    const int end = x + look.picture.width;
    return end > glyph.u && (glyph.end <= end || !CutsAStroke(grid, end));
  };
  int best = FarNearerAllowed(glyphRows) + 1;
  std::optional<NearLook> nearest;
  for (int x = glyph.from; x <= glyph.last && best > 0; ++x) {
    for (const DigitLook& look : shape.looks[static_cast<std::size_t>(d)]) {
      if (best == 0 || !fits(x, look)) continue;
      const int n = UnexplainedPixels(grid, look.picture, x, best - 1);
      if (n < best) {
        best = n;
        nearest = NearLook{{x, look.picture.width}, look.trail};
      }
    }
  }
  if (!nearest) return std::nullopt;
  const int others = OtherDigitsBeyond(best);
  for (std::size_t k = 0; k < shape.looks.size(); ++k) {
    if (static_cast<int>(k) == d) continue;
    for (int x = glyph.from; x <= glyph.last; ++x) {
      for (const DigitLook& look : shape.looks[k]) {
        if (fits(x, look) && UnexplainedPixels(grid, look.picture, x, others) <= others) return std::nullopt;
      }
    }
  }
  return nearest;
}

// The columns of `digits` laid over the capture's marks: taught digits
// where their patterns (or variants) read or nearly read, each untaught one
// a mark of the digits' rows on its own; nothing when the capture is not
// that number.
std::optional<Laid> Lay(const PixelGrid& grid, const QString& digits, const PatternSet& set, const AreaShape& shape) {
  InkColumns ink(grid, grid.width, shape.rows);
  int u = ink.NextInk(0);
  int accounted = 0;
  if (shape.prefix.width > 0) {
    const int x = u < ink.Width() ? PrefixNear(grid, shape.prefix, u - shape.prefixLead) : -1;
    if (x < 0) return std::nullopt;
    accounted = x + shape.prefix.width;
    u = ink.NextInk(accounted);
  }
  Laid laid;
  int inkEnd = 0;
  const int digitRows = shape.digitBottom - shape.digitTop + 1;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    u = ink.NextMark(u, digitRows);
    if (u >= ink.Width()) return std::nullopt;
    const int d = digits[i].digitValue();
    const Pattern& p = set.digitPatterns[static_cast<std::size_t>(kLevelArea) * 10 + static_cast<std::size_t>(d)];
    if (shape.width[static_cast<std::size_t>(d)] > 0) {
      int at = -1;
      int near = -1;
      int nearScore = kNearMatch;
      // As reading lays it: past faint first columns too.
      const int last = u + ink.FaintLeadingColumns(u, digitRows);
      const int from = std::max({0, accounted - 1, u - shape.maxLead - 1});
      for (int x = from; x <= last && at < 0; ++x) {
        if (x + p.width <= u) continue;
        const int score = DigitScore(set, kLevelArea, d, grid, x);
        if (score > kMatchThreshold) at = x;
        if (score > nearScore) {
          nearScore = score;
          near = x;
        }
      }
      // Nor nearly: the glyph may still be the digit's at another fraction
      // of a pixel (NearLookAt); which digit stands here is known, the
      // level is.
      const std::vector<DigitLook>& looks = shape.looks[static_cast<std::size_t>(d)];
      std::optional<NearLook> nearLook;
      if (at < 0 && near < 0) {
        const Glyph glyph{from, last, u, ink.NextBlank(u)};
        nearLook = NearLookAt(grid, looks, glyph, UnexplainedAllowed(digitRows), QSize(p.width, p.height));
        if (!nearLook) nearLook = NearestLookAt(grid, shape, d, glyph, digitRows);
        if (nearLook) near = nearLook->cell.x;
      }
      int width = p.width;
      int trail = shape.trail[static_cast<std::size_t>(d)];
      if (at >= 0) {
        // The look that reads there gives the glyph's columns; the pattern,
        // the first look, where only the count matched.
        const int look = LookShown(shape, d, grid, at);
        const DigitLook& shown = looks[static_cast<std::size_t>(std::max(look, 0))];
        width = shown.picture.width;
        trail = shown.trail;
      } else if (near >= 0) {
        at = near;
        // Nearly read by the match rule's score, the look is as wide as the pattern.
        const CellSpan cell = nearLook ? nearLook->cell : CellSpan{near, p.width};
        width = cell.width;
        if (nearLook) trail = nearLook->trail;
        laid.looks.emplace_back(d, cell);
      }
      if (at < 0) return std::nullopt;
      accounted = at + width;
      inkEnd = accounted - trail;
      if (ink.NextInk(accounted) == accounted) accounted += ink.FaintTrailingColumns(accounted, digitRows);
      // Ink that runs on a column or two past the look, then ends, is the
      // glyph's own side, which the look lacks (a light outline at twice
      // the size, two columns where the look holds one): the glyph is a
      // look of its own width, tail and all.
      const int tail = ink.NextBlank(accounted) - accounted;
      if (tail > 0 && tail <= 2 && ink.Ink(accounted - 1) &&
          VariantFits(QSize(accounted + tail - at, p.height), QSize(p.width, p.height))) {
        const CellSpan cell{at, accounted + tail - at};
        if (!laid.looks.empty() && laid.looks.back().first == d && laid.looks.back().second.x == at) {
          laid.looks.back().second = cell;
        } else {
          laid.looks.emplace_back(d, cell);
        }
        accounted += tail;
        inkEnd = accounted;
      }
    } else {
      // A glyph no pattern reads, of the digits' rows, no wider than they
      // are high: two glyphs run together, or a word, are none.
      for (int k = 0; k < 10; ++k) {
        if (shape.width[static_cast<std::size_t>(k)] > 0 && DigitScore(set, kLevelArea, k, grid, u) > kMatchThreshold) {
          return std::nullopt;
        }
      }
      int end = ink.NextBlank(u);
      // Two new digits side by side that touch (the 2 and the 0 of 120 after
      // 119) are one mark: it is cut where it holds the least ink, in its
      // middle half, when nothing would be left for the second or it is too
      // wide for one digit.
      const bool nextNew =
          i + 1 < digits.size() && shape.width[static_cast<std::size_t>(digits[i + 1].digitValue())] == 0;
      if (nextNew && (ink.NextMark(end, digitRows) >= ink.Width() || end - u > digitRows + 3)) {
        const int width = end - u;
        int cut = -1;
        int least = 64;
        // Ties go to the column nearest the middle.
        const auto offMiddle = [&](int x) { return std::abs(2 * (x - u) - width); };
        for (int x = u + width / 4; x <= u + 3 * width / 4; ++x) {
          const int inked = std::popcount(ink.RowsAt(x));
          if (inked < least || (inked == least && offMiddle(x) < offMiddle(cut))) {
            least = inked;
            cut = x;
          }
        }
        if (cut > u) end = cut;
      }
      const std::uint64_t rows = ink.RowsOf(u, end);
      const int top = std::countr_zero(rows);
      const int bottom = 63 - std::countl_zero(rows);
      const int slack = LineSlack(digitRows);
      if (std::abs(top - shape.digitTop) > slack || std::abs(bottom - shape.digitBottom) > slack ||
          end - u > std::min(kLargestPatternSide, digitRows + 3)) {
        return std::nullopt;
      }
      laid.unknown.push_back({u, end - u});
      accounted = inkEnd = end;
    }
    u = ink.NextInk(accounted);
  }
  u = ink.NextMark(u, digitRows);
  // The number ends as the area's numbers end.
  if (u < ink.Width() && !TextMayBegin(ink, shape, inkEnd, u)) {
    const Pattern& delimiter = set.delimiterPatterns[kLevelArea];
    bool ends = false;
    for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1}); x <= u && !ends; ++x) {
      ends = shape.width[kDelimiterIndex] > 0 && Reads(delimiter, grid, x);
    }
    if (!ends) return std::nullopt;
  }
  return laid;
}

// Whether the glyphs a level would take for new digits are told apart: a
// new digit looks like no taught one, and two new digits that differ look
// different. Two 1s taken for "10" would teach the 0 as a 1.
bool NewDigitsDistinct(const PixelGrid& grid, const QString& digits, const std::vector<CellSpan>& unknown,
                       const PatternSet& set, const AreaShape& shape) {
  QString fresh;
  for (const QChar ch : digits) {
    if (shape.width[static_cast<std::size_t>(ch.digitValue())] == 0) fresh += ch;
  }
  for (std::size_t i = 0; i < unknown.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (fresh[static_cast<qsizetype>(i)] != fresh[static_cast<qsizetype>(j)] &&
          GlyphLikeness(grid, unknown[i], unknown[j], shape.rows) > kNewDigitDistinct) {
        return false;
      }
    }
    for (std::size_t k = 0; k < 10; ++k) {
      if (shape.width[k] == 0) continue;
      for (int x = std::max(0, unknown[i].x - shape.lead[k] - 1); x <= unknown[i].x - shape.lead[k] + 1; ++x) {
        if (DigitScore(set, kLevelArea, static_cast<int>(k), grid, x) > kNewDigitDistinct) return false;
      }
    }
  }
  return true;
}

// Whether a new look of digit `d` at column x is that digit's alone: no
// other taught digit nearly reads there, a column either way.
bool LookDistinct(const PixelGrid& grid, int d, int x, const AreaShape& shape, const PatternSet& set) {
  for (int k = 0; k < 10; ++k) {
    if (k == d || shape.width[static_cast<std::size_t>(k)] == 0) continue;
    for (int at = std::max(0, x - 1); at <= x + 1; ++at) {
      if (DigitScore(set, kLevelArea, k, grid, at) > kNearMatch) return false;
    }
  }
  return true;
}

}  // namespace

void ApplyLesson(PatternImages& images, const LevelLesson& lesson) {
  StoreArea(images, kLevelArea, lesson.pictures);
  StoreOrigins(images, kLevelArea, lesson.origins);
  StoreLooks(images, kLevelArea, lesson.variants);
}

std::optional<LevelLesson> LearnLevelDigits(const QImage& capture, int lastLevel, const PatternImages& images) {
  if (lastLevel < 1 || lastLevel >= kHighestLevel || capture.isNull()) return std::nullopt;
  PatternSet set;
  if (!ConvertPatterns(images, set)) return std::nullopt;
  PixelGrid grid;
  ReadPixels(capture.convertToFormat(QImage::Format_RGB32), grid);
  const AreaShape shape = ShapeOf(set, kLevelArea);
  const int height = set.cellHeight[kLevelArea];
  if (height < 1 || height > grid.height) return std::nullopt;

  // Only the next level: a capture that could show 248 with 8 unseen could
  // as well show 249 with 9 unseen, and two level-ups between readings are
  // rare enough to leave to the player rather than guess.
  const int level = lastLevel + 1;
  const QString digits = QString::number(level);
  const std::optional<Laid> laid = Lay(grid, digits, set, shape);
  if (!laid || (laid->unknown.empty() && laid->looks.empty()) ||
      !NewDigitsDistinct(grid, digits, laid->unknown, set, shape)) {
    return std::nullopt;
  }
  LevelLesson lesson{level, AreaOf(images, kLevelArea), OriginsOf(images, kLevelArea), LooksOf(images, kLevelArea)};
  const QImage clean = WithoutNoise(capture);
  PixelGrid cleanGrid;
  ReadPixels(clean, cleanGrid);
  for (const auto& [d, span] : laid->looks) {
    const auto index = static_cast<std::size_t>(d);
    if (!LookDistinct(grid, d, span.x, shape, set)) return std::nullopt;
    const QRect cell(span.x, 0, span.width, height);
    AddLook(lesson.variants[index], lesson.pictures[index], clean.copy(cell),
            capture.copy(cell).convertToFormat(QImage::Format_RGB32));
  }
  std::array<std::optional<CellSpan>, 10> firstSeen;
  std::size_t next = 0;
  for (const QChar ch : digits) {
    const auto d = static_cast<std::size_t>(ch.digitValue());
    if (shape.width[d] > 0) continue;
    const CellSpan cell = laid->unknown[next++];
    // A digit new twice in one level (299 to 300) looks alike both times,
    // the first taken without its noise, as it is kept.
    if (firstSeen[d]) {
      if (firstSeen[d]->width != cell.width ||
          !Reads(CellPattern(cleanGrid, firstSeen[d]->x, cell.width, shape.rows), grid, cell.x)) {
        return std::nullopt;
      }
      continue;
    }
    firstSeen[d] = cell;
    lesson.pictures[d] = clean.copy(QRect(cell.x, 0, cell.width, height));
    lesson.origins[d] = PatternOrigin::LearnedAtLevelUp;
  }
  // The lesson holds only when the capture then reads as that level.
  PatternImages taught = images;
  ApplyLesson(taught, lesson);
  PatternSet check;
  if (!ConvertPatterns(taught, check)) return std::nullopt;
  const AreaReading reading = ReadArea(capture, kLevelArea, check);
  if (!reading.failure.isEmpty() || reading.digits != digits) return std::nullopt;
  return lesson;
}

#include "recognition/level_lesson.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "persistence/pattern_store.h"
#include "recognition/area_reading.h"
#include "recognition/digit_segmentation.h"
#include "recognition/ink_columns.h"
#include "recognition/mark_walk.h"
#include "recognition/match_rule.h"
#include "recognition/recognition.h"

namespace {

constexpr int kLevelArea = 0;
constexpr int kHighestLevel = 300;
constexpr int kNearMatch = 9000;  // a score this high is the same glyph drawn a little differently


// The columns of `digits` laid over the capture's marks: taught digits
// where their patterns read, each untaught one a mark of the digits' rows
// on its own; nothing when the capture is not that number.
std::optional<std::vector<CellSpan>> Lay(const PixelGrid& grid, const QString& digits, const PatternSet& set,
                                         const AreaShape& shape) {
  InkColumns ink(grid, grid.width, shape.rows);
  int u = ink.NextInk(0);
  int accounted = 0;
  if (shape.prefix.width > 0) {
    if (u >= ink.Width() || !PrefixAt(grid, shape.prefix, u - shape.prefixLead)) return std::nullopt;
    accounted = u - shape.prefixLead + shape.prefix.width;
    u = ink.NextInk(accounted);
  }
  std::vector<CellSpan> unknown;
  int inkEnd = 0;
  const int digitRows = shape.digitBottom - shape.digitTop + 1;
  for (const QChar ch : digits) {
    while (ink.FaintEdge(u, digitRows)) u = ink.NextInk(u + 1);
    if (u >= ink.Width()) return std::nullopt;
    const int d = ch.digitValue();
    const Pattern& p = set.digitPatterns[static_cast<std::size_t>(kLevelArea * 10 + d)];
    if (shape.width[static_cast<std::size_t>(d)] > 0) {
      int at = -1;
      for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1}); x <= u && at < 0; ++x) {
        if (x + p.width > u && Reads(p, grid, x)) at = x;
      }
      if (at < 0) return std::nullopt;
      accounted = at + p.width;
      inkEnd = accounted - shape.trail[static_cast<std::size_t>(d)];
    } else {
      // A glyph no pattern reads, of the digits' rows, no wider than two.
      for (int k = 0; k < 10; ++k) {
        if (shape.width[static_cast<std::size_t>(k)] > 0 &&
            Reads(set.digitPatterns[static_cast<std::size_t>(kLevelArea * 10 + k)], grid, u)) {
          return std::nullopt;
        }
      }
      const int end = ink.NextBlank(u);
      const std::uint64_t rows = ink.RowsOf(u, end);
      const int top = std::countr_zero(rows);
      const int bottom = 63 - std::countl_zero(rows);
      // The same slack as teaching gives digits on one line: round digits
      // overshoot the flat ones, by two rows or more once scaled.
      const int slack = std::max(1, (shape.digitBottom - shape.digitTop + 1 + 4) / 8);
      if (std::abs(top - shape.digitTop) > slack || std::abs(bottom - shape.digitBottom) > slack ||
          end - u > kLargestPatternSide) {
        return std::nullopt;
      }
      unknown.push_back({u, end - u});
      accounted = inkEnd = end;
    }
    u = ink.NextInk(accounted);
  }
  while (ink.FaintEdge(u, digitRows)) u = ink.NextInk(u + 1);
  // The number ends as the area's numbers end.
  if (u < ink.Width() && u - inkEnd < shape.wideGap) {
    const Pattern& delimiter = set.delimiterPatterns[kLevelArea];
    bool ends = false;
    for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1}); x <= u && !ends; ++x) {
      ends = shape.width[kDelimiterIndex] > 0 && Reads(delimiter, grid, x);
    }
    if (!ends) return std::nullopt;
  }
  return unknown;
}

// Whether glyph `a` nearly reads where glyph `b` stands (a column either
// way): two glyphs this close are one digit, however they are typed.
bool NearlyAlike(const PixelGrid& grid, CellSpan a, CellSpan b, int rows) {
  const Pattern p = CellPattern(grid, a.x, std::min(a.width, b.width), rows);
  for (int x = std::max(0, b.x - 1); x <= b.x + 1; ++x) {
    if (MatchScore(p, grid, x) > kNearMatch) return true;
  }
  return false;
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
          NearlyAlike(grid, unknown[i], unknown[j], shape.rows)) {
        return false;
      }
    }
    for (std::size_t k = 0; k < 10; ++k) {
      if (shape.width[k] == 0) continue;
      const Pattern& taught = set.digitPatterns[kLevelArea * 10 + k];
      for (int x = std::max(0, unknown[i].x - shape.lead[k] - 1); x <= unknown[i].x - shape.lead[k] + 1; ++x) {
        if (MatchScore(taught, grid, x) > kNearMatch) return false;
      }
    }
  }
  return true;
}

}  // namespace

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
  const std::optional<std::vector<CellSpan>> unknown = Lay(grid, digits, set, shape);
  if (!unknown || unknown->empty() || !NewDigitsDistinct(grid, digits, *unknown, set, shape)) return std::nullopt;
  LevelLesson lesson{level, AreaOf(images, kLevelArea), OriginsOf(images, kLevelArea)};
  std::array<std::optional<CellSpan>, 10> firstSeen;
  std::size_t next = 0;
  for (const QChar ch : digits) {
    const auto d = static_cast<std::size_t>(ch.digitValue());
    if (shape.width[d] > 0) continue;
    const CellSpan cell = (*unknown)[next++];
    // A digit new twice in one level (299 to 300) looks alike both times.
    if (firstSeen[d]) {
      if (firstSeen[d]->width != cell.width ||
          !Reads(CellPattern(grid, firstSeen[d]->x, cell.width, shape.rows), grid, cell.x)) {
        return std::nullopt;
      }
      continue;
    }
    firstSeen[d] = cell;
    lesson.pictures[d] = capture.copy(QRect(cell.x, 0, cell.width, height)).convertToFormat(QImage::Format_RGB32);
    lesson.origins[d] = PatternOrigin::LearnedAtLevelUp;
  }
  // The lesson holds only when the capture then reads as that level.
  PatternImages taught = images;
  StoreArea(taught, kLevelArea, lesson.pictures);
  StoreOrigins(taught, kLevelArea, lesson.origins);
  PatternSet check;
  if (!ConvertPatterns(taught, check)) return std::nullopt;
  const AreaReading reading = ReadArea(capture, kLevelArea, check);
  if (!reading.failure.isEmpty() || reading.digits != digits) return std::nullopt;
  return lesson;
}

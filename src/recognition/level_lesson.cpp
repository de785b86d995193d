#include "recognition/level_lesson.h"

#include <bit>
#include <cstdlib>

#include "persistence/pattern_store.h"
#include "recognition/area_reading.h"
#include "recognition/ink_columns.h"
#include "recognition/mark_walk.h"
#include "recognition/match_rule.h"
#include "recognition/recognition.h"

namespace {

constexpr int kLevelArea = 0;
constexpr int kHighestLevel = 300;


// The columns of `digits` laid over the capture's marks: taught digits
// where their patterns read, each untaught one a mark of the digits' rows
// on its own; nothing when the capture is not that number.
// `unsure` is set when the capture is not that number only because a
// taught digit reads nothing where the number puts it: that glyph may be
// the taught digit drawn differently (anti-aliased text a fraction of a
// pixel further along) as well as a new one.
std::optional<std::vector<CellSpan>> Lay(const PixelGrid& grid, const QString& digits, const PatternSet& set,
                                         const AreaShape& shape, bool& unsure) {
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
  for (const QChar ch : digits) {
    if (u >= ink.Width()) return std::nullopt;
    const int d = ch.digitValue();
    const Pattern& p = set.digitPatterns[static_cast<std::size_t>(kLevelArea * 10 + d)];
    if (shape.width[static_cast<std::size_t>(d)] > 0) {
      int at = -1;
      for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1}); x <= u && at < 0; ++x) {
        if (x + p.width > u && Reads(p, grid, x)) at = x;
      }
      if (at < 0) {
        unsure = true;
        for (int k = 0; k < 10 && unsure; ++k) {
          const Pattern& other = set.digitPatterns[static_cast<std::size_t>(kLevelArea * 10 + k)];
          for (int x = std::max({0, accounted - 1, u - shape.maxLead - 1}); x <= u && unsure; ++x) {
            unsure = !(k != d && shape.width[static_cast<std::size_t>(k)] > 0 && x + other.width > u && Reads(other, grid, x));
          }
        }
        return std::nullopt;
      }
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
      if (std::abs(top - shape.digitTop) > 1 || std::abs(bottom - shape.digitBottom) > 1 ||
          end - u > kLargestPatternSide) {
        return std::nullopt;
      }
      unknown.push_back({u, end - u});
      accounted = inkEnd = end;
    }
    u = ink.NextInk(accounted);
  }
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

}  // namespace

std::optional<LevelLesson> LearnLevelDigits(const QImage& capture, int lastLevel, const PatternImages& images,
                                            int maxRise) {
  if (lastLevel < 1 || capture.isNull()) return std::nullopt;
  PatternSet set;
  if (!ConvertPatterns(images, set)) return std::nullopt;
  PixelGrid grid;
  ReadPixels(capture.convertToFormat(QImage::Format_RGB32), grid);
  const AreaShape shape = ShapeOf(set, kLevelArea);
  const int height = set.cellHeight[kLevelArea];
  if (height < 1 || height > grid.height) return std::nullopt;

  std::optional<LevelLesson> found;
  for (int level = lastLevel + 1; level <= std::min(lastLevel + maxRise, kHighestLevel); ++level) {
    const QString digits = QString::number(level);
    bool unsure = false;
    const std::optional<std::vector<CellSpan>> unknown = Lay(grid, digits, set, shape, unsure);
    // A level above one the capture may show is a guess: it would fit only
    // by taking that level's digit for a new one.
    if (unsure) return std::nullopt;
    // The lowest level that fits: levels rise one at a time, and readings
    // are minutes apart, so a capture that could show 248 or 249 with both
    // 8 and 9 unseen shows 248.
    if (!unknown || unknown->empty()) continue;
    LevelLesson lesson{level, AreaOf(images, kLevelArea), OriginsOf(images, kLevelArea)};
    std::size_t next = 0;
    for (const QChar ch : digits) {
      const auto d = static_cast<std::size_t>(ch.digitValue());
      if (shape.width[d] > 0) continue;
      const CellSpan cell = (*unknown)[next++];
      const QImage picture = capture.copy(QRect(cell.x, 0, cell.width, height)).convertToFormat(QImage::Format_RGB32);
      // A digit new twice in one level (299 to 300) looks the same both times.
      if (lesson.origins[d] == PatternOrigin::LearnedAtLevelUp && lesson.pictures[d] != picture) return std::nullopt;
      lesson.pictures[d] = picture;
      lesson.origins[d] = PatternOrigin::LearnedAtLevelUp;
    }
    found = lesson;
    break;
  }
  if (!found) return std::nullopt;
  // The lesson holds only when the capture then reads as that level.
  PatternImages taught = images;
  StoreArea(taught, kLevelArea, found->pictures);
  StoreOrigins(taught, kLevelArea, found->origins);
  PatternSet check;
  if (!ConvertPatterns(taught, check)) return std::nullopt;
  const AreaReading reading = ReadArea(capture, kLevelArea, check);
  if (!reading.failure.isEmpty() || reading.digits != QString::number(found->level)) return std::nullopt;
  return found;
}

#include "recognition/reference_scan.h"

#include <algorithm>

#include <cstdlib>

#include "recognition/match_rule.h"
#include "recognition/recognition_text.h"
#include "recognition/mark_walk.h"
#include "recognition/unread_ink.h"

namespace {

PixelColor CaptureColor(const PixelGrid& capture, int x, int y) {
  // Columns right of the picture read black (and left of it, for a caller
  // that asks for a negative column).
  if (x < 0 || x >= capture.width) return {};
  const std::uint32_t pixel = capture.At(x, y);
  return {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel >> 16)};
}

int Agrees(std::uint8_t a, std::uint8_t b) { return std::abs(int{a} - int{b}) <= kChannelTolerance ? 1 : 0; }

void Notify(const std::function<void()>& hook) {
  if (hook) hook();
}

}  // namespace

int MatchScore(const Pattern& p, const PixelGrid& capture, int x0) {
  if (!PatternUsable(p, capture)) return 0;
  int count = 0;
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      const PixelColor tile = CaptureColor(capture, x0 + x, y);
      const PixelColor& own = p.pixels[x][y];
      count += Agrees(tile.blue, own.blue) + Agrees(tile.green, own.green) + Agrees(tile.red, own.red);
    }
  }
  return ScoreFromCount(count, p.width, p.height);
}

int DigitScore(const PatternSet& set, int area, int digit, const PixelGrid& capture, int x) {
  const std::size_t index = static_cast<std::size_t>(area) * 10 + static_cast<std::size_t>(digit);
  int best = MatchScore(set.digitPatterns[index], capture, x);
  for (const Pattern& variant : set.variants[index]) best = std::max(best, MatchScore(variant, capture, x));
  return best;
}

RecognitionResult RecognizeDigitsReference(const std::array<PixelGrid, 2>& captures,
                                           const std::array<int, 2>& regionWidths, const PatternSet& patterns,
                                           int lag, bool debugMode, const RecognitionHooks& hooks,
                                           ReferenceReport report) {
  const bool reporting = report == ReferenceReport::EveryCall || debugMode;
  const auto caption = [&](int area, const QString& text) {
    if (hooks.caption) hooks.caption(area, text);
  };
  RecognitionResult result;
  for (int a = 0; a < 2; ++a) {
    caption(a, RecognizingCaption());
    const PixelGrid& capture = captures[a];
    const int end = LastScanColumn(regionWidths[a], capture) + 4;
    QString shownDigits;
    const AreaShape shape = ShapeOf(patterns, a);
    const auto firstMatch = [&](int column) {
      if (reporting) result.trace += ColumnHeading(column);
      if (!debugMode && lag > 0) Notify(hooks.lagWait);
      bool otherGlyph = false;
      for (int d = 0; d < 10; ++d) {
        const int score = DigitScore(patterns, a, d, capture, column);
        if (reporting) result.trace += DigitEntry(d, score);
        if (debugMode) {
          if (hooks.preview) hooks.preview(a, d, column);
          if (lag > 0) Notify(hooks.lagWait);
        }
        if (score > kMatchThreshold && !DigitShown(shape, d, capture, column)) {
          if (reporting) result.trace += OtherGlyph();
          otherGlyph = true;
          continue;
        }
        if (score > kMatchThreshold) {
          if (reporting) result.trace += DigitResult(d);
          shownDigits += QString::number(d);
          if (debugMode) caption(a, shownDigits + RecognizingCaption());
          return d;
        }
      }
      // A digit counted there leaves the column to the digits, as the fast
      // scan, which stops at the first digit counted, leaves it.
      if (otherGlyph) {
        if (reporting) result.trace += NoResult();
        if (debugMode) caption(a, shownDigits + RecognizingCaption());
        return -1;
      }
      const int score = MatchScore(patterns.delimiterPatterns[a], capture, column);
      if (reporting) result.trace += DelimiterEntry(a, score);
      const bool match = score > kMatchThreshold;
      if (reporting) result.trace += match ? DelimiterResult() : NoResult();
      if (debugMode) caption(a, shownDigits + RecognizingCaption());
      return match ? kDelimiterIndex : -1;
    };
    WalkResult walk;
    if (end > 3) walk = WalkMarks(capture, end, shape, firstMatch);
    result.digits[a] = walk.digits;
    if (walk.unread) {
      result.failures[a] = ShownUnreadInkReason(*walk.unread);
      if (reporting) result.trace += UnreadInkResult(UnreadInkReason(*walk.unread));
    }
    caption(a, walk.digits);
  }
  SetReadings(result);
  return result;
}

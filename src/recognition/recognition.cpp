#include "recognition/recognition.h"

#include "recognition/match_rule.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition_text.h"
#include "recognition/mark_walk.h"
#include "recognition/unread_ink.h"

namespace {

constexpr int kDelimiter = 10;  // the delimiter's index among an area's patterns

struct Scan {
  const RecognitionHooks& hooks;
  int lag;
  bool debugMode;

  void Caption(int area, const QString& text) const {
    if (hooks.caption) hooks.caption(area, text);
  }
  void Recognizing(int area, const QString& digits) const {
    if (hooks.caption) hooks.caption(area, digits + RecognizingCaption());
  }
  void LagWait() const {
    if (lag > 0 && hooks.lagWait) hooks.lagWait();
  }

  // Reads one area; returns its digit string, sets `unread` to the reason
  // when a mark nothing accounts for stood in it, and adds to `report`
  // (debug mode only: outside it nobody reads the report, and leaving the
  // scores unknown is what lets a candidate be dropped after a few pixels).
  QString Area(int a, const PixelGrid& capture, int regionWidth, const PreparedArea& area, QString& unread,
               QString& report) const {
    Recognizing(a, QString());
    const int end = LastScanColumn(regionWidth, capture) + 4;
    WalkResult walk;
    if (end > 3) {
      walk = debugMode ? Reported(a, capture, end, area, report) : Quiet(capture, end, area);
    }
    if (walk.unread) {
      unread = ShownUnreadInkReason(*walk.unread);
      if (debugMode) report += UnreadInkResult(UnreadInkReason(*walk.unread));
    }
    Caption(a, walk.digits);
    return walk.digits;
  }

  // Outside debug mode: one lag wait per column examined, then the first
  // candidate that passes.
  WalkResult Quiet(const PixelGrid& capture, int end, const PreparedArea& area) const {
    FrameSource frames(capture, area.reach);
    AreaCandidates candidates(area, capture);
    return WalkMarks(capture, end, area.shape, [&](int x) {
      LagWait();
      return candidates.FirstMatch(frames.At(x));
    });
  }

  // Debug mode: every candidate scored in full, reported, previewed.
  WalkResult Reported(int a, const PixelGrid& capture, int end, const PreparedArea& area, QString& report) const {
    FrameSource frames(capture, area.reach);
    // A digit scores its best look: its pattern or one of its variants.
    const auto score = [&](std::size_t k, FrameView frame) {
      int best = Usable(area.patterns[k], capture) ? FullScore(area.patterns[k], frame) : 0;
      for (const PreparedArea& variants : area.variants) {
        const PreparedPattern& p = variants.patterns[k];
        if (Usable(p, capture)) best = std::max(best, FullScore(p, frame));
      }
      return best;
    };
    QString digits;
    return WalkMarks(capture, end, area.shape, [&](int column) {
      const FrameView frame = frames.At(column);
      report += ColumnHeading(column);
      int shown = -1;
      bool otherGlyph = false;  // a digit counted there leaves the column to the digits, as Quiet does
      for (int d = 0; d < 10 && shown < 0; ++d) {
        const int s = score(static_cast<std::size_t>(d), frame);
        report += DigitEntry(d, s);
        if (hooks.preview) hooks.preview(a, d, column);
        LagWait();
        if (s > kMatchThreshold && !DigitShown(area.shape, d, capture, column)) {
          report += OtherGlyph();
          otherGlyph = true;
          continue;
        }
        if (s > kMatchThreshold) {
          report += DigitResult(d);
          digits += QChar(u'0' + d);
          shown = d;
        }
      }
      if (shown < 0 && otherGlyph) {
        report += NoResult();
      } else if (shown < 0) {
        const int s = score(kDelimiter, frame);
        const bool match = s > kMatchThreshold;
        report += DelimiterEntry(a, s) + (match ? DelimiterResult() : NoResult());
        if (match) shown = kDelimiter;
      }
      Recognizing(a, digits);
      return shown;
    });
  }
};

}  // namespace

RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternMatcher& matcher, int lag, bool debugMode,
                                  const RecognitionHooks& hooks) {
  const Scan scan{hooks, lag, debugMode};
  RecognitionResult result;
  for (std::size_t a = 0; a < 2; ++a) {
    result.digits[a] = scan.Area(static_cast<int>(a), captures[a], regionWidths[a], matcher.Area(static_cast<int>(a)),
                                 result.failures[a], result.trace);
  }
  SetReadings(result);
  return result;
}

RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternSet& patterns, int lag, bool debugMode,
                                  const RecognitionHooks& hooks) {
  return RecognizeDigits(captures, regionWidths, PatternMatcher(patterns), lag, debugMode, hooks);
}

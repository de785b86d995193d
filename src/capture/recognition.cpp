#include "capture/recognition.h"

#include "capture/match_rule.h"
#include "capture/pattern_matcher.h"
#include "capture/recognition_text.h"

namespace {

struct Scan {
  const RecognitionHooks& hooks;
  int lag;
  bool debugMode;

  void Caption(int area, const QString& text) const {
    if (hooks.caption) hooks.caption(area, text);
  }
  void Recognizing(int area, const QString& digits) const {
    if (hooks.caption) hooks.caption(area, digits + QString::fromUtf16(kRecognizingCaption));
  }
  void LagWait() const {
    if (lag > 0 && hooks.lagWait) hooks.lagWait();
  }

  // Scans one area; returns its digit string and adds to `report` (debug
  // mode only: outside it nobody reads the report, and leaving the scores
  // unknown is what lets a candidate be dropped after a few pixels).
  QString Area(int a, const PixelGrid& capture, int regionWidth, const PreparedArea& area, QString& report) const {
    QString digits;
    digits.reserve(16);
    Recognizing(a, digits);
    const int last = LastScanColumn(regionWidth, capture);
    if (last < 0) {
      Caption(a, digits);
      return digits;
    }
    const FrameSource frames(capture, area.reach);
    std::array<bool, 11> usable{};
    for (std::size_t k = 0; k < usable.size(); ++k) usable[k] = Usable(area.patterns[k], capture);

    // Outside debug mode only the verdict counts; in it, the exact score.
    const auto verdict = [&](std::size_t k, FrameView frame, int& score) {
      if (!usable[k]) {
        score = 0;
        return false;
      }
      if (!debugMode) return Passes(area.patterns[k], frame);
      score = FullScore(area.patterns[k], frame);
      return score > kMatchThreshold;
    };

    long long x = 0;
    while (x <= last) {
      const int column = static_cast<int>(x);
      const FrameView frame = frames.At(column);
      if (debugMode) report += ColumnHeading(x);
      if (!debugMode) LagWait();
      bool digitFound = false;
      for (int d = 0; d < 10 && !digitFound; ++d) {
        int score = 0;
        const bool match = verdict(static_cast<std::size_t>(d), frame, score);
        if (debugMode) {
          report += DigitEntry(d, score);
          if (hooks.preview) hooks.preview(a, d, column);
          LagWait();
        }
        if (match) {
          digits += QChar(u'0' + d);
          if (debugMode) report += DigitResult(d);
          x = ColumnAfterDigit(x, area.cellWidth);
          digitFound = true;
        }
      }
      if (!digitFound) {
        int score = 0;
        const bool match = verdict(10, frame, score);
        if (debugMode) report += DelimiterEntry(a, score) + (match ? DelimiterResult() : NoResult());
        if (match) break;
        ++x;
      }
      if (debugMode) Recognizing(a, digits);
    }
    Caption(a, digits);
    return digits;
  }
};

}  // namespace

RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternMatcher& matcher, int lag, bool debugMode,
                                  const RecognitionHooks& hooks) {
  const Scan scan{hooks, lag, debugMode};
  RecognitionResult result;
  std::array<QString, 2> digits;
  for (int a = 0; a < 2; ++a) {
    digits[static_cast<std::size_t>(a)] =
        scan.Area(a, captures[static_cast<std::size_t>(a)], regionWidths[static_cast<std::size_t>(a)],
                  matcher.Area(a), result.trace);
  }
  SetReadings(digits, result);
  return result;
}

RecognitionResult RecognizeDigits(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& regionWidths,
                                  const PatternSet& patterns, int lag, bool debugMode,
                                  const RecognitionHooks& hooks) {
  return RecognizeDigits(captures, regionWidths, PatternMatcher(patterns), lag, debugMode, hooks);
}

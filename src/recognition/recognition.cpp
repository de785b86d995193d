#include "recognition/recognition.h"

#include <QVarLengthArray>

#include "recognition/match_rule.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition_text.h"
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

  // Scans one area; returns its digit string, sets `unread` to the reason
  // when it passed over ink no pattern reads, and adds to `report` (debug
  // mode only: outside it nobody reads the report, and leaving the scores
  // unknown is what lets a candidate be dropped after a few pixels).
  QString Area(int a, const PixelGrid& capture, int regionWidth, const PreparedArea& area, QString& unread,
               QString& report) const {
    Recognizing(a, QString());
    const int last = LastScanColumn(regionWidth, capture);
    ScanTrail trail;
    QString digits = last < 0   ? QString()
                     : debugMode ? Reported(a, capture, last, area, trail, report)
                                 : Quiet(capture, last, area, trail);
    if (const std::optional<UnreadInk> ink =
            FindUnreadInk(capture, trail, area.cellWidth, area.cellHeight, area.taughtFromCaptures)) {
      unread = UnreadInkReason(*ink);
      if (debugMode) report += UnreadInkResult(unread);
    }
    Caption(a, digits);
    return digits;
  }

  // Outside debug mode: one lag wait per column, then the first candidate
  // that passes. The digits collect in place; a QString append per digit
  // costs a call each.
  QString Quiet(const PixelGrid& capture, int last, const PreparedArea& area, ScanTrail& trail) const {
    FrameSource frames(capture, area.reach);
    AreaCandidates candidates(area, capture);
    QVarLengthArray<char16_t, 32> digits;
    long long x = 0;
    // The column after the current one, once it has been looked at.
    long long aheadX = -1;
    int aheadShown = -1;
    bool afterDigit = false;
    // Whether the column after the last jump showed nothing: when the digits
    // stand a whole cell apart it does, and the scan stands one column
    // before the next digit; when they stand one column closer, the jump
    // lands on the next digit and looking beyond it would be wasted.
    bool beforeDigits = true;
    while (x <= last) {
      LagWait();
      int shown = 0;
      if (x == aheadX) {
        shown = aheadShown;
      } else if (afterDigit && beforeDigits && x < last) {
        // Looked at first, the digit one column on can prove that nothing
        // matches here. The columns are still examined in the same order,
        // and each column's answer is what comparing it would give.
        aheadX = x + 1;
        aheadShown = candidates.FirstMatch(frames.At(static_cast<int>(aheadX)));
        shown = aheadShown >= 0 && candidates.NothingLeftOf(aheadShown)
                    ? -1
                    : candidates.FirstMatch(frames.At(static_cast<int>(x)));
        beforeDigits = shown < 0;
      } else {
        shown = candidates.FirstMatch(frames.At(static_cast<int>(x)));
        if (afterDigit) beforeDigits = shown < 0;
      }
      afterDigit = shown >= 0 && shown != kDelimiter;
      if (shown == kDelimiter) {
        trail.delimiterX = static_cast<int>(x);
        break;
      }
      if (shown < 0) {
        ++x;
        continue;
      }
      digits.append(static_cast<char16_t>(u'0' + shown));
      trail.AddDigit(x, area.patterns[static_cast<std::size_t>(shown)].width);
      x = ColumnAfterDigit(x, area.cellWidth);
    }
    return QString(reinterpret_cast<const QChar*>(digits.constData()), digits.size());
  }

  // Debug mode: every candidate scored in full, reported, previewed.
  QString Reported(int a, const PixelGrid& capture, int last, const PreparedArea& area, ScanTrail& trail,
                   QString& report) const {
    QString digits;
    FrameSource frames(capture, area.reach);
    std::array<bool, 11> usable{};
    for (std::size_t k = 0; k < usable.size(); ++k) usable[k] = Usable(area.patterns[k], capture);
    const auto score = [&](std::size_t k, FrameView frame) { return usable[k] ? FullScore(area.patterns[k], frame) : 0; };

    long long x = 0;
    while (x <= last) {
      const int column = static_cast<int>(x);
      const FrameView frame = frames.At(column);
      report += ColumnHeading(x);
      bool digitFound = false;
      for (int d = 0; d < 10 && !digitFound; ++d) {
        const int s = score(static_cast<std::size_t>(d), frame);
        report += DigitEntry(d, s);
        if (hooks.preview) hooks.preview(a, d, column);
        LagWait();
        if (s > kMatchThreshold) {
          digits += QChar(u'0' + d);
          trail.AddDigit(x, area.patterns[static_cast<std::size_t>(d)].width);
          report += DigitResult(d);
          x = ColumnAfterDigit(x, area.cellWidth);
          digitFound = true;
        }
      }
      if (!digitFound) {
        const int s = score(kDelimiter, frame);
        const bool match = s > kMatchThreshold;
        report += DelimiterEntry(a, s) + (match ? DelimiterResult() : NoResult());
        if (match) {
          trail.delimiterX = column;
          break;
        }
        ++x;
      }
      Recognizing(a, digits);
    }
    return digits;
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

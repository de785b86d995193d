// The fast scan against the reference on captures as a screen grab gives
// them: real fonts with anti-aliased edges, gradient backgrounds, channel
// noise, digits a pixel apart or touching; with the best kernel this
// machine has and with SSE2 forced. The captures must also read as drawn,
// or they would not test what the game shows.
#include <gtest/gtest.h>

#include <random>

#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"
#include "recognition/reference_scan.h"
#include "realistic_captures.h"

namespace {

RecognitionHooks Recording(QStringList& events) {
  RecognitionHooks h;
  h.lagWait = [&events] { events << "wait"; };
  h.caption = [&events](int a, const QString& text) { events << QString("caption %1 %2").arg(a).arg(text); };
  h.preview = [&events](int a, int d, int x) { events << QString("preview %1 %2 %3").arg(a).arg(d).arg(x); };
  return h;
}

TEST(RealisticCaptures, BothKernelsReadExactlyWhatTheReferenceReadsAndWhatWasDrawn) {
  std::mt19937 random(20261206);
  const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (const RealisticSet& r : RealisticSets()) {
    const PatternMatcher best(r.set);
    const PatternMatcher sse2(r.set, ScanKernel::Sse2);
    for (int i = 0; i < 40; ++i) {
      // A level and a counter, or nothing at all, from a small margin on;
      // now and then digits after the delimiter, which are never read.
      const bool blank = i % 8 == 0;
      const QString level = blank ? QString() : QString::number(pick(1, 999));
      QString exp = blank ? QString() : QString::number(pick(1, 9));
      for (int n = pick(0, 8); n > 0 && !blank; --n) exp += QChar(u'0' + pick(0, 9));
      const QString trailing = i % 5 == 1 ? QStringLiteral("D7") : QStringLiteral("D");
      const std::array<PixelGrid, 2> captures{
          RealisticCapture(r, 0, blank ? QString() : level + trailing, pick(0, 3), random()),
          RealisticCapture(r, 1, blank ? QString() : exp + trailing, pick(0, 3), random())};
      const int lag = pick(0, 1);
      for (const bool debug : {false, true}) {
        SCOPED_TRACE(testing::Message() << r.name.toStdString() << " case " << i << " \"" << level.toStdString()
                                        << "\" \"" << exp.toStdString() << "\" debug " << debug);
        QStringList bestEvents, sse2Events, referenceEvents;
        const RecognitionResult reference =
            RecognizeDigitsReference(captures, r.regionWidths, r.set, lag, debug, Recording(referenceEvents));
        const RecognitionResult fast = RecognizeDigits(captures, r.regionWidths, best, lag, debug, Recording(bestEvents));
        const RecognitionResult plain = RecognizeDigits(captures, r.regionWidths, sse2, lag, debug, Recording(sse2Events));
        ASSERT_EQ(std::tie(fast.level, fast.exp, fast.captions, bestEvents),
                  std::tie(reference.level, reference.exp, reference.captions, referenceEvents));
        ASSERT_EQ(std::tie(plain.captions, sse2Events), std::tie(reference.captions, referenceEvents));
        ASSERT_EQ(fast.trace, debug ? reference.trace : QString());
        ASSERT_EQ(plain.trace, fast.trace);
        EXPECT_EQ(reference.captions[0], blank ? QStringLiteral("認識NG") : level);
        EXPECT_EQ(reference.captions[1], blank ? QStringLiteral("認識NG") : exp);
      }
    }
  }
}

}  // namespace

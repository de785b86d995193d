#include "monitoring/grab_trouble.h"

namespace {

// The counters count as moving after this many rises in a row: one gain
// and then a player away from the keyboard shows the same picture again and
// again too, and must not be told that the grab froze.
constexpr int kMovingAfterRises = 2;

}  // namespace

void GrabTroubleTracker::Reset() { *this = GrabTroubleTracker(); }

GrabTroubleTracker::Outcome GrabTroubleTracker::Feed(const std::array<QImage, 2>& pictures,
                                                     std::optional<ReadingPoint> point, bool areasUnreadable) {
  GrabWatch::Verdict verdict = watch_.Feed(pictures, risesInARow_ >= kMovingAfterRises);
  if (areasUnreadable) verdict = {};
  // Only pictures that changed say whether the counters move: the same
  // picture again is what a frozen grab shows.
  if (point && pictures != lastGrab_) {
    risesInARow_ = lastPoint_ && *point > *lastPoint_ ? risesInARow_ + 1 : 0;
    lastPoint_ = point;
  }
  if (!pictures[0].isNull() || !pictures[1].isNull()) lastGrab_ = pictures;
  Outcome outcome;
  outcome.changed = verdict.trouble != trouble_;
  trouble_ = verdict.trouble;
  if (verdict.began && !told_) {
    told_ = true;
    outcome.toTell = verdict.trouble;
  }
  return outcome;
}

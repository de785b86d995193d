// The game as the capture step finds it: behind other windows but in
// sight, resized since its areas were picked, or grabbed in one colour or
// frozen. Each is told where the player looks (the state line, the
// on-screen log, a message box), never in the log files.

#include "base/display_text.h"
#include "capture/capture_notices.h"
#include "capture/clock.h"
#include "monitoring/message_boxes.h"
#include "monitoring/monitoring_cycle.h"
#include "persistence/debug_trace.h"

namespace {

QString CaptureTitle() { return QCoreApplication::translate("MonitoringTexts", "キャプチャ"); }

// The counters count as moving after this many rises in a row: one gain
// and then a player away from the keyboard shows the same picture again and
// again too, and must not be told that the grab froze.
constexpr int kMovingAfterRises = 2;

}  // namespace

GameView MonitoringCycle::Look() {
  GameView view = LookAtGame(services_.windows, state_.settings, follower_);
  SawGame(view.game);
  hidden_ = view.hidden;
  return view;
}

void MonitoringCycle::StartGrabWatch() {
  grabWatch_.Reset();
  grabTrouble_ = GrabTrouble::None;
  grabTroubleTold_ = false;
  lastGrab_ = {};
  lastGrabPoint_.reset();
  risesInARow_ = 0;
}

void MonitoringCycle::TraceGrabWay() {
  const GrabWay way = services_.windows.LastGrabWay();
  if (way == tracedWay_) return;
  tracedWay_ = way;
  services_.trace.Event(GrabWayTraceText(way));
}

void MonitoringCycle::AfterGrab(const GameView& view, const std::array<QImage, 2>& pictures,
                                const AlertEvent& heard) {
  // Digits the guard doubts were still found where the areas now lie.
  const bool read = heard.reading == AlertEvent::Reading::Ok || heard.reading == AlertEvent::Reading::Implausible;
  switch (follower_.AfterReading(read)) {
    case AreaFollower::Outcome::Nothing:
      break;
    case AreaFollower::Outcome::Moved:
      AppendLog(LogDateText(services_.clock.Now()) + QStringLiteral("  ") +
                    AreasMovedLogText(view.pickedFor, view.size) + QStringLiteral("\r\n"),
                true);
      break;
    case AreaFollower::Outcome::NotReadable:
      areasUnreadable_ = true;
      services_.trace.Event(QStringLiteral(" Capture areas unreadable after a resize"));
      Inform({AreasUnreadableText(view.size), CaptureTitle()});
      if (ended_) return;
      break;
  }

  if (read) areasUnreadable_ = false;

  GrabWatch::Verdict verdict = grabWatch_.Feed(pictures, risesInARow_ >= kMovingAfterRises);
  // Areas moved off the counters may well show one colour: the player has
  // been told to pick them again, not to look at the game's display mode.
  if (areasUnreadable_) verdict = {};
  // Only pictures that changed say whether the counters move: the same
  // picture again is what a frozen grab shows.
  if (heard.point && pictures != lastGrab_) {
    risesInARow_ = lastGrabPoint_ && *heard.point > *lastGrabPoint_ ? risesInARow_ + 1 : 0;
    lastGrabPoint_ = heard.point;
  }
  if (!pictures[0].isNull() || !pictures[1].isNull()) lastGrab_ = pictures;
  if (verdict.trouble != grabTrouble_) {
    grabTrouble_ = verdict.trouble;
    Tell([](MonitoringListener& l) { l.StateChanged(); });
  }
  if (!verdict.began || grabTroubleTold_) return;
  grabTroubleTold_ = true;
  services_.trace.Event(verdict.trouble == GrabTrouble::Uniform ? QStringLiteral(" Capture shows one colour")
                                                                : QStringLiteral(" Capture frozen"));
  AppendLog(LogDateText(services_.clock.Now()) + QStringLiteral("  ") + GrabTroubleLogText(verdict.trouble) +
                QStringLiteral("\r\n"),
            true);
  Inform({GrabTroubleAlertText(verdict.trouble), CaptureTitle()});
}

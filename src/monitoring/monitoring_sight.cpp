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

}  // namespace

GameView MonitoringCycle::Look() {
  GameView view = LookAtGame(services_.windows, state_.settings, follower_);
  SawGame(view.game, view.hidden);
  return view;
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

  const GrabTroubleTracker::Outcome grabs = grabTrouble_.Feed(pictures, heard.point, areasUnreadable_);
  if (grabs.changed) emit stateChanged();
  if (!grabs.toTell) return;
  const GrabTrouble trouble = *grabs.toTell;
  services_.trace.Event(trouble == GrabTrouble::Uniform ? QStringLiteral(" Capture shows one colour")
                                                       : QStringLiteral(" Capture frozen"));
  AppendLog(LogDateText(services_.clock.Now()) + QStringLiteral("  ") + GrabTroubleLogText(trouble) +
                QStringLiteral("\r\n"),
            true);
  Inform({GrabTroubleAlertText(trouble), CaptureTitle()});
}

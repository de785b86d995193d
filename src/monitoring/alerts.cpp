#include "monitoring/alerts.h"

#include <QCoreApplication>

#include <algorithm>

void AlertMonitor::Start(std::int64_t ms) {
  *this = AlertMonitor();
  running_ = true;
  lastRiseMs_ = ms;
}

void AlertMonitor::Stop() { *this = AlertMonitor(); }

bool AlertMonitor::AnyActive() const { return std::ranges::any_of(active_, [](bool on) { return on; }); }

void AlertMonitor::Set(AlertKind kind, bool on, std::vector<AlertChange>& changes) {
  bool& active = active_[static_cast<std::size_t>(kind)];
  if (active == on) return;
  active = on;
  changes.push_back({kind, on});
}

std::vector<AlertChange> AlertMonitor::Feed(const AlertEvent& event, int minutes) {
  std::vector<AlertChange> changes;
  if (!running_) return changes;
  const std::int64_t limitMs = 60'000LL * std::max(1, minutes);

  if (event.game == AlertEvent::Game::InFront) {
    awaySinceMs_.reset();
    Set(AlertKind::GameAway, false, changes);
  } else {
    if (!awaySinceMs_) awaySinceMs_ = event.ms;
    if (event.ms - *awaySinceMs_ >= limitMs) Set(AlertKind::GameAway, true, changes);
  }

  switch (event.reading) {
    case AlertEvent::Reading::None:
      break;
    case AlertEvent::Reading::Failed:
    case AlertEvent::Reading::Implausible:
      if (++troubleInARow_ >= kTroubleInARow) Set(AlertKind::RecognitionTrouble, true, changes);
      break;
    case AlertEvent::Reading::Ok:
      troubleInARow_ = 0;
      Set(AlertKind::RecognitionTrouble, false, changes);
      if (!event.point) break;
      // Only a reading says whether experience rose; without one (the game
      // away, slow timed readings) there is nothing to accuse.
      if (!lastPoint_ || *event.point > *lastPoint_) {
        // The first reading is where the count starts.
        lastRiseMs_ = event.ms;
        Set(AlertKind::NoGain, false, changes);
      } else if (event.ms - lastRiseMs_ >= limitMs) {
        Set(AlertKind::NoGain, true, changes);
      }
      lastPoint_ = event.point;
      break;
  }
  return changes;
}

QString AlertText(AlertKind kind, int minutes) {
  const QString n = QString::number(std::max(1, minutes));
  switch (kind) {
    case AlertKind::NoGain:
      return QCoreApplication::translate("Alerts", "経験値が%1分間増えていません").arg(n);
    case AlertKind::GameAway:
      return QCoreApplication::translate("Alerts", "MapleStoryのウィンドウが%1分間見つからないか、後ろに隠れています").arg(n);
    case AlertKind::RecognitionTrouble:
      return QCoreApplication::translate("Alerts", "認識が%1回続けてうまくいきません。キャプチャ領域と基準画像を確認してください")
          .arg(AlertMonitor::kTroubleInARow);
  }
  return QString();
}

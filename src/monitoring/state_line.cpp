#include "monitoring/state_line.h"

#include <algorithm>

#include "capture/capture_notices.h"

QString MinutesSecondsText(std::int64_t seconds) {
  seconds = std::max<std::int64_t>(0, seconds);
  return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0'));
}

namespace {

// Seconds from `from` to `to`, rounded up: a countdown shows 00:01 until the
// very end, not 00:00 a second early.
std::int64_t SecondsUntil(std::int64_t fromMs, std::int64_t toMs) {
  const std::int64_t ms = toMs - fromMs;
  return ms <= 0 ? 0 : (ms + 999) / 1000;
}

}  // namespace

QString StateLineText(const StateLineInput& in) {
  if (!in.manualCommand.isEmpty() && in.manualWaitEndMs) {
    return in.manualCommand + QStringLiteral("まで ") + MinutesSecondsText(SecondsUntil(in.nowMs, *in.manualWaitEndMs));
  }
  if (!in.manualOutcome.isEmpty()) return in.manualOutcome;
  if (!in.monitoring) {
    return in.stoppedBecause.isEmpty() ? QStringLiteral("停止中") : QStringLiteral("停止中  ") + in.stoppedBecause;
  }
  switch (in.game) {
    case GameSeen::Missing:
      return QStringLiteral("ゲームが見つかりません");
    case GameSeen::Behind: {
      const QString hidden = in.hidden ? AreasSeenStateText(*in.hidden) : QString();
      return (hidden.isEmpty() ? QStringLiteral("ゲームが前面にありません") : hidden) + QStringLiteral(" (待機 ") +
             MinutesSecondsText(in.behindSinceMs ? (in.nowMs - *in.behindSinceMs) / 1000 : 0) + QStringLiteral(")");
    }
    case GameSeen::Unknown:
    case GameSeen::InFront:
      break;
  }
  // Grabs that show no game say so until one shows it again.
  if (in.grabTrouble != GrabTrouble::None) return GrabTroubleStateText(in.grabTrouble);
  return QStringLiteral("監視中  次のキャプチャまで ") + MinutesSecondsText(SecondsUntil(in.nowMs, in.nextCaptureMs));
}

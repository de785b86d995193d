#include "monitoring/state_line.h"

#include <algorithm>

QString MinutesSecondsText(qint64 seconds) {
  seconds = std::max<qint64>(0, seconds);
  return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0'));
}

namespace {

// Seconds from `from` to `to`, rounded up: a countdown shows 00:01 until the
// very end, not 00:00 a second early.
qint64 SecondsUntil(const QDateTime& from, const QDateTime& to) {
  const qint64 ms = from.msecsTo(to);
  return ms <= 0 ? 0 : (ms + 999) / 1000;
}

}  // namespace

QString StateLineText(const StateLineInput& in) {
  if (!in.manualCommand.isEmpty() && in.manualWaitEnd.isValid()) {
    return in.manualCommand + QStringLiteral("まで ") + MinutesSecondsText(SecondsUntil(in.now, in.manualWaitEnd));
  }
  if (!in.monitoring) return QStringLiteral("停止中");
  switch (in.game) {
    case GameSeen::Missing:
      return QStringLiteral("ゲームが見つかりません");
    case GameSeen::Behind:
      return QStringLiteral("ゲームが前面にありません (待機 ") +
             MinutesSecondsText(in.behindSince.isValid() ? in.behindSince.secsTo(in.now) : 0) + QStringLiteral(")");
    case GameSeen::Unknown:
    case GameSeen::InFront:
      break;
  }
  return QStringLiteral("監視中  次のキャプチャまで ") + MinutesSecondsText(SecondsUntil(in.now, in.nextCapture));
}

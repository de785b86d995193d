#include "monitoring/state_line.h"

#include <QCoreApplication>

#include <algorithm>

#include "capture/capture_notices.h"

QString MinutesSecondsText(std::int64_t seconds) {
  seconds = std::max<std::int64_t>(0, seconds);
  return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QChar('0')).arg(seconds % 60, 2, 10, QChar('0'));
}

namespace {

// The texts' context for the translator.
struct StateLine {
  Q_DECLARE_TR_FUNCTIONS(StateLine)
};

// Seconds from `from` to `to`, rounded up: a countdown shows 00:01 until the
// very end, not 00:00 a second early.
std::int64_t SecondsUntil(std::int64_t fromMs, std::int64_t toMs) {
  const std::int64_t ms = toMs - fromMs;
  return ms <= 0 ? 0 : (ms + 999) / 1000;
}

struct Line {
  QString text;
  bool readingFailure = false;  // the text ends with why the last reading failed
};

Line Compose(const StateLineInput& in) {
  if (!in.manualCommand.isEmpty() && in.manualWaitEndMs) {
    // The command's name is its key, Japanese; it is shown in the language of the windows.
    //: Countdown of a command, e.g. "キャプチャまで 00:09"
    return Line{StateLine::tr("%1まで %2")
                    .arg(StateLine::tr(in.manualCommand.toUtf8().constData()),
                         MinutesSecondsText(SecondsUntil(in.nowMs, *in.manualWaitEndMs)))};
  }
  if (!in.manualOutcome.isEmpty()) return Line{in.manualOutcome};
  if (!in.monitoring) {
    return Line{in.stoppedBecause.isEmpty() ? StateLine::tr("停止中")
                                            : StateLine::tr("停止中  %1").arg(in.stoppedBecause)};
  }
  switch (in.game) {
    case GameSeen::Missing:
      if (in.gameWaitEndMs) {
        //: The game closed; the measurement goes on if it comes back within the time left
        return Line{StateLine::tr("ゲームの再起動を待っています (あと %1)")
                        .arg(MinutesSecondsText(SecondsUntil(in.nowMs, *in.gameWaitEndMs)))};
      }
      return Line{StateLine::tr("ゲームが見つかりません")};
    case GameSeen::Behind: {
      const QString hidden = in.hidden ? AreasSeenStateText(*in.hidden) : QString();
      //: What keeps the game from being read, and how long it has been so
      return Line{StateLine::tr("%1 (待機 %2)")
                      .arg(hidden.isEmpty() ? StateLine::tr("ゲームが前面にありません") : hidden,
                           MinutesSecondsText(in.behindSinceMs ? (in.nowMs - *in.behindSinceMs) / 1000 : 0))};
    }
    case GameSeen::Unknown:
    case GameSeen::InFront:
      break;
  }
  // Grabs that show no game say so until one shows it again.
  if (in.grabTrouble != GrabTrouble::None) return Line{GrabTroubleStateText(in.grabTrouble)};
  const QString watching =
      StateLine::tr("監視中  次のキャプチャまで %1").arg(MinutesSecondsText(SecondsUntil(in.nowMs, in.nextCaptureMs)));
  if (in.readingFailure.isEmpty()) return {watching};
  //: The watching line, then why the last reading failed
  return {StateLine::tr("%1  認識NG（%2）").arg(watching, in.readingFailure), true};
}

}  // namespace

QString StateLineText(const StateLineInput& in) { return Compose(in).text; }

bool StateLineTellsReadingFailure(const StateLineInput& in) { return Compose(in).readingFailure; }

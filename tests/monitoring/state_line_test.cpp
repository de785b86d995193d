// The state line's text for what the program is doing.
#include "monitoring/state_line.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

TEST(StateLine, SaysWhatTheProgramIsDoing) {
  const std::int64_t now = 5'000'000;
  const auto input = [&](bool monitoring, GameSeen game) {
    StateLineInput in;
    in.nowMs = now;
    in.monitoring = monitoring;
    in.game = game;
    in.nextCaptureMs = now + 15'000;
    return in;
  };
  struct Case {
    const char* what;
    StateLineInput in;
    const char* text;
  };
  StateLineInput behind = input(true, GameSeen::Behind);
  behind.behindSinceMs = now - 83'000;
  StateLineInput longBehind = behind;
  longBehind.behindSinceMs = now - (2 * 3600 + 5) * 1000;
  StateLineInput late = input(true, GameSeen::InFront);
  late.nextCaptureMs = now - 4000;  // due, waiting for the tick
  StateLineInput soon = input(true, GameSeen::InFront);
  soon.nextCaptureMs = now + 200;  // rounded up: not 00:00 before it is due
  StateLineInput manual = input(false, GameSeen::Unknown);
  manual.manualCommand = QStringLiteral("キャプチャ");
  manual.manualWaitEndMs = now + 6500;
  StateLineInput manualWhileMonitoring = input(true, GameSeen::Behind);
  manualWhileMonitoring.manualCommand = QStringLiteral("プリントスクリーン");
  manualWhileMonitoring.manualWaitEndMs = now + 10'000;

  const Case cases[] = {
      {"stopped", input(false, GameSeen::InFront), "停止中"},
      {"just started", input(true, GameSeen::Unknown), "監視中  次のキャプチャまで 00:15"},
      {"due", late, "監視中  次のキャプチャまで 00:00"},
      {"nearly due", soon, "監視中  次のキャプチャまで 00:01"},
      {"behind", behind, "ゲームが前面にありません (待機 01:23)"},
      {"behind for hours", longBehind, "ゲームが前面にありません (待機 120:05)"},
      {"missing", input(true, GameSeen::Missing), "ゲームが見つかりません"},
      {"manual command", manual, "キャプチャまで 00:07"},
      {"manual command while monitoring", manualWhileMonitoring, "プリントスクリーンまで 00:10"},
  };
  for (const Case& c : cases) EXPECT_EQ(StateLineText(c.in), QString::fromUtf8(c.text)) << c.what;
}

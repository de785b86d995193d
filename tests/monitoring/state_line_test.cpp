// The state line's text for what the program is doing.
#include "monitoring/state_line.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

TEST(StateLine, SaysWhatTheProgramIsDoing) {
  using enum GameSeen;
  constexpr std::int64_t now = 5'000'000;
  // Times in milliseconds from now: to the due capture, since the game went behind, to a manual command's end.
  const auto in = [](bool monitoring, GameSeen game, std::int64_t dueIn, std::optional<std::int64_t> behindFor = {},
                     const QString& manual = {}, std::int64_t manualIn = 0) {
    StateLineInput i;
    i.nowMs = now;
    i.monitoring = monitoring;
    i.game = game;
    i.nextCaptureMs = now + dueIn;
    if (behindFor) i.behindSinceMs = now - *behindFor;
    i.manualCommand = manual;
    if (!manual.isEmpty()) i.manualWaitEndMs = now + manualIn;
    return i;
  };
  const struct {
    const char* what;
    StateLineInput in;
    const char* text;
  } cases[] = {
      // (Stopped, just started and a missing game: the cycle's tests read them.)
      {"due, waiting for the tick", in(true, InFront, -4000), "監視中  次のキャプチャまで 00:00"},
      {"nearly due: rounded up, not 00:00 early", in(true, InFront, 200), "監視中  次のキャプチャまで 00:01"},
      {"behind", in(true, Behind, 15'000, 83'000), "ゲームが前面にありません (待機 01:23)"},
      {"behind for hours", in(true, Behind, 15'000, 7'205'000), "ゲームが前面にありません (待機 120:05)"},
      {"manual command", in(false, Unknown, 15'000, {}, "キャプチャ", 6500), "キャプチャまで 00:07"},
      {"manual command while monitoring", in(true, Behind, 15'000, {}, "プリントスクリーン", 10'000),
       "プリントスクリーンまで 00:10"},
  };
  for (const auto& c : cases) EXPECT_EQ(StateLineText(c.in), QString::fromUtf8(c.text)) << c.what;
}

// The X11 backend on a server without a window manager: no client list, no
// active-window property, no frames. The program runs itself again on a
// private server of its own started without openbox.
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

bool OnServerWithoutWindowManager() { return qEnvironmentVariable("TALLYMETER_NO_WM") == "1"; }

TEST(X11WithoutWindowManager, PassesOnAServerOfItsOwn) {
  if (OnServerWithoutWindowManager()) GTEST_SKIP() << "this is the run on that server";
  EXPECT_TRUE(PassesOnServerOfItsOwn({"TALLYMETER_NO_WM=1"}, "*"));
}

TEST(X11WithoutWindowManager, FindsTheGameAmongTheRootsChildrenAndTheForegroundByInputFocus) {
  if (!OnServerWithoutWindowManager()) GTEST_SKIP() << "runs on the server without a window manager";
  const std::unique_ptr<WindowSystem> ws = OpenX11WindowSystem();
  ASSERT_NE(ws, nullptr);
  QWidget nearTitle;
  const WindowId other = ShowTitled(*ws, nearTitle, "MapleStory2");
  ASSERT_NE(other, 0u);
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game("7", "9081726354");
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  EXPECT_EQ(ws->OuterRect(id).value_or(QRect()).size(), QSize(800, 600)) << "no frame: the window itself";
  const QImage expSprite = CounterSprite(1, "9081726354");
  EXPECT_TRUE(WaitUntil([&] { return Shows(CaptureGameArea(*ws, id, kExpRegion), expSprite); }));
  for (const WindowId focus : {id, other}) {
    ASSERT_TRUE(Xdotool({"windowfocus", QString::number(focus)}));
    EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == focus; }));
    // The look of a step finds the same without the window manager's lists.
    const WindowLook look = ws->LookAt(kGame);
    EXPECT_EQ(look.window, id);
    EXPECT_EQ(look.inFront, focus == id);
    if (focus == id) {
      EXPECT_EQ(look.outer, ws->OuterRect(id));
      EXPECT_TRUE(Shows(CaptureGameAreas(*ws, look, {kLevelRegion, kExpRegion})[1], expSprite));
    }
  }
}

}  // namespace

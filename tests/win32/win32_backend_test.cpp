// The Win32 backend against the practice game: finding it by its exact title
// only, whether it is in front, the pixels at the default regions counted
// from the outer corner, black off the screen, no GDI object or handle left
// behind by thousands of grabs, a game on a monitor left of the primary one,
// and a window closed before the grab.
#include <gtest/gtest.h>

#include "capture/win32/win32_process.h"
#include "capture/win32/win32_window_system.h"
#include "integration/practice_game.h"

namespace {

TEST(Win32Backend, FindsOnlyTheExactTitleReadsTheRegionsLeavesNothingBehindAndOnEveryMonitor) {
  const std::unique_ptr<WindowSystem> ws = OpenWin32WindowSystem();
  // FindWindowW alone would take "maplestory": it ignores case.
  std::vector<std::unique_ptr<QWidget>> nearTitles;
  for (const char* title : {"MapleStory2", "MapleStory - Chat", "maplestory", "MAPLESTORY", " MapleStory"}) {
    nearTitles.push_back(std::make_unique<QWidget>());
    nearTitles.back()->resize(200, 100);
    ASSERT_NE(ShowTitled(*ws, *nearTitles.back(), QString::fromUtf8(title)), 0u) << title;
  }
  EXPECT_EQ(ws->FindWindowByTitle(QString()), 0u);
  // A hidden window of the game's title is not the game.
  QWidget hidden;
  hidden.setWindowTitle(kGame);
  hidden.winId();
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game("152", "1234567890");
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  const WindowId other = nearTitles.front()->winId();
  EXPECT_EQ(ws->FindWindowByTitle(QStringLiteral("MapleStory2")), other);
  // Asked again while waiting: a loaded machine may take a while to switch.
  const auto front = [&](WindowId window) {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != window) BringWindowToFront(window);
      return ws->ForegroundWindow() == window;
    });
  };
  EXPECT_TRUE(front(other));
  EXPECT_NE(ws->ForegroundWindow(), id);
  const QImage level = CounterSprite(0, "152");
  ASSERT_TRUE(front(id) && WaitUntil([&] { return Shows(CaptureGameArea(*ws, id, kLevelRegion), level); }))
      << "the level never appeared at the default region";

  ExpectTheRegionsFromTheOuterCornerAndBlackOffTheDesktop(*ws, id);
  // Asked directly for a rectangle off the desktop, the backend refuses.
  const Desktop desktop = ws->DesktopLayout();
  EXPECT_TRUE(ws->GrabScreen(QRect(desktop.bounds.x() - 10, 0, 20, 20)).isNull());
  EXPECT_TRUE(ws->GrabScreen(QRect(desktop.bounds.topLeft(), desktop.bounds.size() + QSize(1, 0))).isNull());

  // Wine's PrintWindow only sends WM_PRINT: the picture may be anything, but
  // a thousand of them, beside a thousand screen grabs, crash nothing and
  // leave nothing behind.
  const QSize size = ws->OuterRect(id).value_or(QRect()).size();
  const auto round = [&] {
    const QImage whole = PrintWindowContents(id);
    return ws->FindWindowByTitle(kGame) == id && ws->ForegroundWindow() == id &&
           Shows(CaptureGameArea(*ws, id, kLevelRegion), level) && !CaptureGameArea(*ws, id, kExpRegion).isNull() &&
           (whole.isNull() || whole.size() == size);
  };
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(round());  // warms up caches and pools
  const ProcessResources before = CurrentProcessResources();
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(round()) << i;
  const ProcessResources after = CurrentProcessResources();
  EXPECT_EQ(std::tuple(after.gdiObjects, after.kernelHandles, after.nextGdiSlot, after.nextKernelHandle),
            std::tuple(before.gdiObjects, before.kernelHandles, before.nextGdiSlot, before.nextKernelHandle));
  EXPECT_TRUE(PrintWindowContents(0).isNull());
  EXPECT_TRUE(PrintWindowContents(0xDEAD0000u).isNull());
  // The game shows its counters on the screen: the screen's picture is taken.
  ws->GrabScreens({QRect(ws->OuterRect(id)->topLeft() + QPoint(35, 576), QSize(44, 13))}, id);
  EXPECT_EQ(ws->LastGrabWay(), GrabWay::Screen);

  // The suite runs on a desktop whose second monitor lies left of the primary
  // one (scripts/test-windows): wholly on it, then the status bar across the
  // seam at 0.
  ASSERT_LT(desktop.bounds.x(), 0) << "no monitor left of the primary one: run through scripts/test-windows";
  ASSERT_GE(desktop.monitors.size(), 2u);
  for (const int x : {desktop.bounds.x() + 100, -500}) {
    ASSERT_TRUE(PlaceWindow(id, QRect(QPoint(x, 120), size)));
    ASSERT_TRUE(WaitUntil([&] { return ws->OuterRect(id) == QRect(QPoint(x, 120), size); })) << x;
    EXPECT_TRUE(WaitUntil([&] {
      const std::array<QImage, 2> both = CaptureGameAreas(*ws, ws->LookAt(kGame), {kLevelRegion, kExpRegion});
      return Shows(both[0], level) && Shows(both[1], CounterSprite(1, "1234567890"));
    })) << x;
  }

  // Closed between finding and capturing: no picture and no crash, and the
  // backend still serves.
  game.End();
  ASSERT_TRUE(WaitUntil([&] { return !ws->OuterRect(id); }));
  EXPECT_TRUE(CaptureGameArea(*ws, id, kLevelRegion).isNull());
  EXPECT_FALSE(ws->GrabScreen(QRect(0, 0, 10, 10)).isNull());
  EXPECT_FALSE(ws->OuterRect(0));
  EXPECT_FALSE(ws->OuterRect(0xDEAD0000u));
}

// The slot probes stand in for the counts where Wine keeps none: they must
// notice a single object or handle that stays.
TEST(ProcessResourcesProbe, NoticesOneObjectAndOneHandleKept) {
  const ProcessResources before = CurrentProcessResources();
  EXPECT_EQ(CurrentProcessResources().nextGdiSlot, before.nextGdiSlot);
  EXPECT_EQ(CurrentProcessResources().nextKernelHandle, before.nextKernelHandle);
  const HeldResources held;
  const ProcessResources during = CurrentProcessResources();
  EXPECT_NE(during.nextGdiSlot, before.nextGdiSlot);
  EXPECT_NE(during.nextKernelHandle, before.nextKernelHandle);
  if (before.gdiObjects && during.gdiObjects) {
    EXPECT_EQ(*during.gdiObjects, *before.gdiObjects + 1);
  }
}

}  // namespace

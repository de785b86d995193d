// The Win32 backend against the practice game: finding it by its exact title
// only, whether it is in front, the pixels at the default regions counted
// from the outer corner, black off the screen, a window closed before the
// grab, and no GDI object or handle left behind by thousands of grabs.
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "capture/win32/win32_process.h"
#include "capture/win32/win32_window_system.h"
#include "practice_game.h"

namespace {

class Win32Backend : public ::testing::Test {
 protected:
  void SetUp() override { ws = OpenWin32WindowSystem(); }
  // A killed game's window lingers a moment; the next test must not find it.
  void TearDown() override {
    EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
  }

  // Waits until the game is found and brought to the front, and its level
  // reads at the default region; 0 when it never does.
  WindowId ShowGame(const QString& level) {
    WindowId id = 0;
    if (!WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; })) return 0;
    const QImage sprite = CounterSprite(0, level);
    const auto shown = [&] {
      if (ws->ForegroundWindow() != id) BringWindowToFront(id);
      return ws->ForegroundWindow() == id && Shows(CaptureGameArea(*ws, id, kLevelRegion), sprite);
    };
    return WaitUntil(shown) ? id : 0;
  }

  std::unique_ptr<WindowSystem> ws;
};

TEST_F(Win32Backend, OnlyTheExactTitleIsTheGameAndItIsInFrontOnlyWhenBroughtThere) {
  // FindWindowW alone would take "maplestory": it ignores case.
  std::vector<std::unique_ptr<QWidget>> nearTitles;
  for (const char* title : {"MapleStory2", "MapleStory - Chat", "maplestory", "MAPLESTORY", " MapleStory"}) {
    nearTitles.push_back(std::make_unique<QWidget>());
    nearTitles.back()->resize(200, 100);
    ASSERT_NE(ShowTitled(*ws, *nearTitles.back(), QString::fromUtf8(title)), 0u) << title;
  }
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);
  EXPECT_EQ(ws->FindWindowByTitle(QString()), 0u);

  // A hidden window of the game's title is not the game.
  QWidget hidden;
  hidden.setWindowTitle(kGame);
  hidden.winId();
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame("152");
  ASSERT_NE(id, 0u);
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
  EXPECT_TRUE(front(id));
}

TEST_F(Win32Backend, TheDefaultRegionsReadTheCountersOffScreenReadsBlackAndAClosedWindowNothing) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame("152");
  ASSERT_NE(id, 0u) << "the level never appeared at the default region";
  const QImage expSprite = CounterSprite(1, "1234567890");
  EXPECT_TRUE(Shows(CaptureGameArea(*ws, id, kExpRegion), expSprite));
  // One pixel off in any direction no longer matches: the regions really are
  // counted from the outer corner, frame and title bar included.
  for (const QPoint shift : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
    const CaptureRegion moved{kExpRegion.sx + shift.x(), kExpRegion.sy + shift.y(), 90, 9};
    EXPECT_FALSE(Shows(CaptureGameArea(*ws, id, moved), expSprite)) << shift.x() << "," << shift.y();
  }

  // Strips reaching past the right edge of the desktop and starting left of
  // its left edge: the parts off the desktop are black.
  const QRect desktop = ws->DesktopLayout().bounds;
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  const int toRight = desktop.right() + 1 - outer.x();
  const QImage wide = CaptureGameArea(*ws, id, CaptureRegion{0, 5, toRight + 500, 3});
  const QImage left = CaptureGameArea(*ws, id, CaptureRegion{desktop.x() - outer.x() - 50, 5, 60, 3});
  ASSERT_EQ(wide.size(), QSize(toRight + 500, 3));
  ASSERT_EQ(left.size(), QSize(60, 3));
  EXPECT_NE(wide.pixel(outer.width() / 2, 0), qRgb(0, 0, 0));
  for (int x = toRight; x < wide.width(); x += 37) EXPECT_EQ(wide.pixel(x, 1), qRgb(0, 0, 0)) << x;
  for (int x = 0; x < 50; x += 7) EXPECT_EQ(left.pixel(x, 1), qRgb(0, 0, 0)) << x;
  // Asked directly for a rectangle off the desktop, the backend refuses.
  EXPECT_TRUE(ws->GrabScreen(QRect(desktop.x() - 10, 0, 20, 20)).isNull());
  EXPECT_TRUE(ws->GrabScreen(QRect(desktop.topLeft(), desktop.size() + QSize(1, 0))).isNull());

  // Closed between finding and capturing: no picture and no crash, and the
  // backend still serves.
  game.End();
  ASSERT_TRUE(WaitUntil([&] { return !ws->OuterRect(id); }));
  EXPECT_TRUE(CaptureGameArea(*ws, id, kLevelRegion).isNull());
  EXPECT_FALSE(ws->GrabScreen(QRect(0, 0, 10, 10)).isNull());
  EXPECT_FALSE(ws->OuterRect(0));
  EXPECT_FALSE(ws->OuterRect(0xDEAD0000u));
}

// Wine's PrintWindow only sends WM_PRINT: the picture may be anything, but
// a thousand of them, beside a thousand screen grabs, crash nothing and leave
// nothing behind.
TEST_F(Win32Backend, ThousandsOfGrabsAndWindowPicturesLeaveNoGdiObjectOrHandleBehind) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame("152");
  ASSERT_NE(id, 0u);
  const QImage sprite = CounterSprite(0, "152");
  const QSize size = ws->OuterRect(id).value_or(QRect()).size();
  const auto round = [&] {
    const QImage whole = PrintWindowContents(id);
    return ws->FindWindowByTitle(kGame) == id && ws->ForegroundWindow() == id &&
           Shows(CaptureGameArea(*ws, id, kLevelRegion), sprite) && !CaptureGameArea(*ws, id, kExpRegion).isNull() &&
           (whole.isNull() || whole.size() == size);
  };
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(round());  // warms up caches and pools
  const ProcessResources before = CurrentProcessResources();
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(round()) << i;
  const ProcessResources after = CurrentProcessResources();
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.kernelHandles, before.kernelHandles);
  EXPECT_EQ(after.nextGdiSlot, before.nextGdiSlot);
  EXPECT_EQ(after.nextKernelHandle, before.nextKernelHandle);
  const auto shown = [](std::optional<unsigned long> n) { return n ? std::to_string(*n) : std::string("n/a"); };
  std::printf("GDI objects %s -> %s, handles %s -> %s, next GDI slot %lu -> %lu, next handle %llu -> %llu\n",
              shown(before.gdiObjects).c_str(), shown(after.gdiObjects).c_str(), shown(before.kernelHandles).c_str(),
              shown(after.kernelHandles).c_str(), before.nextGdiSlot, after.nextGdiSlot, before.nextKernelHandle,
              after.nextKernelHandle);
  EXPECT_TRUE(PrintWindowContents(0).isNull());
  EXPECT_TRUE(PrintWindowContents(0xDEAD0000u).isNull());
  // The game shows its counters on the screen: the screen's picture is taken.
  ws->GrabScreens({QRect(ws->OuterRect(id)->topLeft() + QPoint(35, 576), QSize(44, 13))}, id);
  EXPECT_EQ(ws->LastGrabWay(), GrabWay::Screen);
}

// The suite runs on a desktop whose second monitor lies left of the primary
// one (scripts/test-windows): a game there, and one straddling both.
TEST_F(Win32Backend, AGameOnAMonitorLeftOfThePrimaryOneOrAcrossBothReadsWhole) {
  const Desktop desktop = ws->DesktopLayout();
  ASSERT_LT(desktop.bounds.x(), 0) << "no monitor left of the primary one: run through scripts/test-windows";
  ASSERT_GE(desktop.monitors.size(), 2u);
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame("152");
  ASSERT_NE(id, 0u);
  const QSize size = ws->OuterRect(id).value_or(QRect()).size();
  const QImage level = CounterSprite(0, "152");
  const QImage exp = CounterSprite(1, "1234567890");
  // Wholly on the left monitor; then the status bar across the seam at 0.
  for (const int x : {desktop.bounds.x() + 100, -500}) {
    ASSERT_TRUE(PlaceWindow(id, QRect(QPoint(x, 120), size)));
    ASSERT_TRUE(WaitUntil([&] { return ws->OuterRect(id) == QRect(QPoint(x, 120), size); })) << x;
    EXPECT_TRUE(WaitUntil([&] {
      const std::array<QImage, 2> both = CaptureGameAreas(*ws, ws->LookAt(kGame), {kLevelRegion, kExpRegion});
      return Shows(both[0], level) && Shows(both[1], exp);
    })) << x;
  }
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

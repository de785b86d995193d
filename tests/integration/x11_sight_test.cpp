// The X11 backend answering what the player can see of a game that is not
// in front, under openbox: windows beside it, over it and over an area, a
// click-through overlay, a minimised game and one on another desktop; and,
// on a server of its own, a desktop of two monitors whose second one the
// game sits on. (The game resized is read by the program in x11_behind.)
#include <gtest/gtest.h>

#include "capture/game_sight.h"
#include "x11_practice_game.h"

namespace {

const std::array<CaptureRegion, 2> kRegions{kLevelRegion, kExpRegion};
// The right monitor is shorter: below it lies no monitor at all.
const char* const kMonitors = "1280x1024+0+0 *1280x800+1280+0";

bool OnTwoMonitors() { return !qEnvironmentVariable("TALLYMETER_X_MONITORS").isEmpty(); }

class X11Sight : public X11Test {
 protected:
  void SetUp() override {
    if (OnTwoMonitors()) GTEST_SKIP() << "runs on the server with one monitor";
    X11Test::SetUp();
  }
  // The sight of the game while `front` is in front.
  bool SeenAs(WindowId front, AreasSeen seen) {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != front) Xdotool({"windowactivate", QString::number(front)});
      const WindowLook look = ws->LookAtEvenBehind(kGame);
      return ws->ForegroundWindow() == front && !look.inFront && SeeGameAreas(look, kRegions) == seen;
    });
  }
};

TEST_F(X11Sight, AnotherWindowInFrontHidesTheGameOnlyWhereItCoversAnArea) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", QRect(outer.right() + 30, outer.top() + 30, 300, 200));
  ASSERT_NE(notesId, 0u);
  const auto moveNotes = [&](QPoint to) { MoveWindow(notesId, to); };
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Visible)) << "beside, with the focus";
  const std::array<QImage, 2> read = CaptureGameAreas(*ws, ws->LookAtEvenBehind(kGame), kRegions);
  EXPECT_TRUE(Shows(read[0], CounterSprite(0, "152")) && Shows(read[1], CounterSprite(1, "1234567890")));
  moveNotes(outer.topLeft() + QPoint(150, 100));
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Visible)) << "over the game, away from the areas";
  moveNotes(outer.topLeft() + QPoint(kExpRegion.sx + 40, kExpRegion.sy - 150));
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Covered)) << "over the experience area";
  EXPECT_TRUE(CaptureGameAreas(*ws, ws->LookAtEvenBehind(kGame), kRegions)[1].isNull());

  // An overlay the mouse goes through, over the whole game, hides nothing.
  moveNotes(QPoint(outer.right() + 30, outer.top() + 30));
  QWidget overlay;
  overlay.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                         Qt::WindowTransparentForInput | Qt::WindowStaysOnTopHint);
  overlay.setGeometry(outer);
  overlay.show();
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Visible)) << "under a click-through overlay";
  overlay.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                         Qt::WindowStaysOnTopHint);
  overlay.show();
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Covered)) << "under a window that takes the mouse";
  overlay.hide();

  ASSERT_TRUE(Xdotool({"windowminimize", "--sync", QString::number(id)}));
  EXPECT_TRUE(SeenAs(notesId, AreasSeen::Minimised));
  ASSERT_TRUE(Xdotool({"set_desktop_for_window", QString::number(id), "1"}));
  EXPECT_TRUE(WaitUntil([&] {
    const WindowLook look = ws->LookAtEvenBehind(kGame);
    return SeeGameAreas(look, kRegions) == AreasSeen::OtherDesktop || SeeGameAreas(look, kRegions) == AreasSeen::Minimised;
  }));
}

TEST(X11TwoMonitors, PassesOnAServerOfItsOwn) {
  if (OnTwoMonitors()) GTEST_SKIP() << "this is the run on that server";
  EXPECT_TRUE(PassesOnServerOfItsOwn({"TALLYMETER_X_SCREEN=2560x1024", QStringLiteral("TALLYMETER_X_MONITORS=") + kMonitors},
                                     "X11TwoMonitors.*"));
}

TEST(X11TwoMonitors, TheGameOnTheSecondMonitorOrAcrossBothReadsAndOffTheMonitorsIsNotSeen) {
  if (!OnTwoMonitors()) GTEST_SKIP() << "runs on the server with two monitors";
  const std::unique_ptr<WindowSystem> ws = OpenX11WindowSystem();
  ASSERT_NE(ws, nullptr);
  const Desktop desktop = ws->DesktopLayout();
  EXPECT_EQ(desktop.bounds, QRect(0, 0, 2560, 1024));
  ASSERT_EQ(desktop.monitors.size(), 2u);
  EXPECT_TRUE(std::find(desktop.monitors.begin(), desktop.monitors.end(), QRect(1280, 0, 1280, 800)) !=
              desktop.monitors.end());

  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const QSize size = ws->OuterRect(id).value_or(QRect()).size();
  const auto reads = [&] {
    const std::array<QImage, 2> both = CaptureGameAreas(*ws, ws->LookAt(kGame), kRegions);
    return Shows(both[0], CounterSprite(0, "152")) && Shows(both[1], CounterSprite(1, "1234567890"));
  };
  // On the primary monitor, whose origin is not the screen's; then with its
  // status bar across the seam between the two.
  for (const QPoint at : {QPoint(1500, 20), QPoint(1000, 20)}) {
    ASSERT_TRUE(MoveWindow(id, at));
    EXPECT_TRUE(WaitUntil([&] { return ws->OuterRect(id).value_or(QRect()).left() >= at.x() - 20 && reads(); }))
        << at.x();
  }
  // Seen from behind another window: on the monitors, then with the status
  // bar below the shorter monitor, where no monitor is.
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", QRect(100, 100, 200, 100));
  ASSERT_NE(notesId, 0u);
  const auto seen = [&](AreasSeen wanted) {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != notesId) Xdotool({"windowactivate", QString::number(notesId)});
      return SeeGameAreas(ws->LookAtEvenBehind(kGame), kRegions) == wanted;
    });
  };
  EXPECT_TRUE(seen(AreasSeen::Visible));
  ASSERT_TRUE(MoveWindow(id, {1500, 1024 - size.height()}));
  EXPECT_TRUE(seen(AreasSeen::OffScreen));
}

}  // namespace

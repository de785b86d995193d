// The X11 backend against the practice game on a real server and window
// manager: finding it by its exact title, whether it is in front, what the
// player can see of it behind other windows, and the pixels at the default
// regions, counted from the outer corner; and, on a server of its own, a
// desktop of two monitors whose second one the game sits on, and one with no
// window manager (no client list, no active-window property, no frames).
#include <gtest/gtest.h>

#include "capture/game_sight.h"
#include "x11_practice_game.h"

namespace {

using X11GameWindow = X11Test;

// The right monitor is shorter: below it lies no monitor at all.
const char* const kMonitors = "1280x1024+0+0 *1280x800+1280+0";
const std::array<CaptureRegion, 2> kRegions{kLevelRegion, kExpRegion};

bool OnTwoMonitors() { return !qEnvironmentVariable("TALLYMETER_X_MONITORS").isEmpty(); }
bool OnServerWithoutWindowManager() { return qEnvironmentVariable("TALLYMETER_NO_WM") == "1"; }

TEST_F(X11GameWindow, TheDefaultRegionsReadOffScreenReadsBlackNoFileStaysOpenAndAClosedWindowGivesNothing) {
  auto game = std::make_unique<PracticeGame>("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u) << "the level never appeared at the default region";
  ExpectTheRegionsFromTheOuterCornerAndBlackOffTheDesktop(*ws, id);

  // Thousands of rounds of a step's questions leave no file open.
  const QImage sprite = CounterSprite(0, "152");
  const auto round = [&] {
    const WindowLook look = ws->LookAt(kGame);
    const std::array<QImage, 2> pictures = CaptureGameAreas(*ws, look, kRegions);
    return look.window == id && look.inFront && Shows(pictures[0], sprite) && !pictures[1].isNull() &&
           ws->FindWindowByTitle(kGame) == id && ws->ForegroundWindow() == id &&
           Shows(CaptureGameArea(*ws, id, kLevelRegion), sprite);
  };
  const auto openFiles = [] {
    return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
  };
  for (int i = 0; i < 200; ++i) ASSERT_TRUE(round());  // warms up caches and pools
  const auto files = openFiles();
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(round()) << i;
  EXPECT_EQ(openFiles(), files);

  // Closed between finding and capturing: no picture, and the connection
  // still serves.
  game.reset();
  ASSERT_TRUE(WaitUntil([&] { return !ws->OuterRect(id); }));
  EXPECT_TRUE(CaptureGameArea(*ws, id, kLevelRegion).isNull());
  EXPECT_EQ(ws->DesktopLayout(), (Desktop{QRect(0, 0, 1280, 1024), {QRect(0, 0, 1280, 1024)}}));
  // A grab the caller failed to clip is refused, not read past the screen.
  EXPECT_TRUE(ws->GrabScreen(QRect(1270, 1020, 20, 5)).isNull());
  EXPECT_EQ(ws->GrabScreen(QRect(1270, 1019, 10, 5)).size(), QSize(10, 5));
}

// The step asks everything of one look at once, partly of the windows the
// previous look saw: it must answer exactly as the questions one by one do,
// also just after windows came, went or changed places. Only the exact title
// is the game; behind another window it is seen where nothing covers an
// area; minimised or on another desktop it runs, not in front.
TEST_F(X11GameWindow, OneLookAnswersAsTheQuestionsOneByOneWhileWindowsComeAndGo) {
  const std::array<QString, 3> titles{"MapleStory2", "MapleStory - Chat", "maplestory"};
  std::array<QWidget, 3> nearTitles;
  for (std::size_t i = 0; i < 3; ++i) ASSERT_NE(ShowTitled(*ws, nearTitles[i], titles[i]), 0u) << i;
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);
  auto game = std::make_unique<PracticeGame>("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const auto agrees = [&] {
    const WindowLook look = ws->LookAt(kGame);
    const WindowId found = ws->FindWindowByTitle(kGame);
    const bool inFront = found != 0 && ws->ForegroundWindow() == found;
    return look.window == found && look.inFront == inFront &&
           (!inFront || (look.outer == ws->OuterRect(found) && look.desktop == ws->DesktopLayout()));
  };
  const auto lookSees = [&](WindowId window, bool inFront) {
    return WaitUntil([&] {
      const WindowLook look = ws->LookAt(kGame);
      return look.window == window && look.inFront == inFront && agrees();
    });
  };
  ASSERT_TRUE(lookSees(id, true));
  std::array<QImage, 2> pictures = CaptureGameAreas(*ws, ws->LookAt(kGame), kRegions);
  EXPECT_TRUE(Shows(pictures[0], CounterSprite(0, "152")));
  EXPECT_TRUE(Shows(pictures[1], CounterSprite(1, "1234567890")));

  // A second window of the title: the topmost of the two is the one found,
  // and activating one raises it.
  auto second = std::make_unique<QWidget>();
  second->resize(300, 200);
  ShowTitled(*ws, *second, kGame);
  WindowId top = 0;
  ASSERT_TRUE(WaitUntil([&] { return (top = ws->FindWindowByTitle(kGame)) != id && top != 0; }));
  for (const WindowId window : {top, id, top}) EXPECT_TRUE(Activate(window) && lookSees(window, true)) << window;
  second.reset();
  EXPECT_TRUE(WaitUntil([&] { return ws->LookAt(kGame).window == id && agrees(); }));

  // Behind another window that holds the focus, the game is seen unless that
  // window (or one that takes the mouse) covers an area. (Beside the game and
  // over an area the behind test reads through the program.)
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  const QPoint beside(outer.right() + 30, outer.top() + 30);
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, "Notes", QRect(beside, QSize(300, 200)));
  ASSERT_NE(notesId, 0u);
  const auto seenAs = [&](AreasSeen seen) {
    return WaitUntil([&] {
      if (ws->ForegroundWindow() != notesId) Xdotool({"windowactivate", QString::number(notesId)});
      const WindowLook look = ws->LookAtEvenBehind(kGame);
      return ws->ForegroundWindow() == notesId && !look.inFront && SeeGameAreas(look, kRegions) == seen && agrees();
    });
  };
  MoveWindow(notesId, outer.topLeft() + QPoint(150, 100));
  EXPECT_TRUE(seenAs(AreasSeen::Visible)) << "over the game, away from the areas";
  MoveWindow(notesId, beside);
  QWidget overlay;
  const auto overlayFlags = Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint;
  overlay.setWindowFlags(overlayFlags | Qt::WindowTransparentForInput);
  overlay.setGeometry(outer);
  overlay.show();
  EXPECT_TRUE(seenAs(AreasSeen::Visible)) << "under a click-through overlay";
  overlay.setWindowFlags(overlayFlags);
  overlay.show();
  EXPECT_TRUE(seenAs(AreasSeen::Covered)) << "under a window that takes the mouse";
  overlay.hide();

  ASSERT_TRUE(Xdotool({"windowminimize", "--sync", QString::number(id)}));
  EXPECT_TRUE(seenAs(AreasSeen::Minimised));
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));
  ASSERT_TRUE(Xdotool({"set_desktop", "0"}));
  ASSERT_TRUE(Xdotool({"set_desktop_for_window", QString::number(id), "1"}));
  EXPECT_TRUE(WaitUntil([&] {
    const std::optional<AreasSeen> seen = SeeGameAreas(ws->LookAtEvenBehind(kGame), kRegions);
    const WindowLook look = ws->LookAt(kGame);
    return (seen == AreasSeen::OtherDesktop || seen == AreasSeen::Minimised) && look.window == id && !look.inFront &&
           agrees();
  })) << "on another desktop";
  Xdotool({"set_desktop_for_window", QString::number(id), "0"});
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));

  // Gone: the look finds nothing, and grabs for it give no pictures. The
  // last look is one that read the game: openbox slides a restored window
  // back into place, and a look in the middle of that sees it elsewhere.
  WindowLook last;
  ASSERT_TRUE(WaitUntil([&] {
    last = ws->LookAt(kGame);
    return Shows(CaptureGameAreas(*ws, last, kRegions)[0], CounterSprite(0, "152"));
  }));
  game.reset();
  EXPECT_TRUE(lookSees(0, false));
  pictures = CaptureGameAreas(*ws, last, kRegions);
  EXPECT_TRUE(pictures[0].isNull() && pictures[1].isNull());
  EXPECT_EQ(ws->GrabScreens({QRect(0, 0, 10, 10), QRect()}, id), std::vector<QImage>(2));
}

// The tests of a desktop of two monitors and of a server without a window
// manager run again on a server of their own, started without openbox for
// the latter.
TEST(X11ServersOfTheirOwn, TwoMonitorsAndNoWindowManagerPassThere) {
  if (OnTwoMonitors() || OnServerWithoutWindowManager()) GTEST_SKIP() << "this is a run on such a server";
  const QString monitors = QStringLiteral("TALLYMETER_X_MONITORS=") + kMonitors;
  EXPECT_TRUE(PassesOnServerOfItsOwn({"TALLYMETER_X_SCREEN=2560x1024", monitors}, "X11TwoMonitors.*"));
  EXPECT_TRUE(PassesOnServerOfItsOwn({"TALLYMETER_NO_WM=1"}, "X11WithoutWindowManager.*"));
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
    EXPECT_EQ(std::pair(look.window, look.inFront), std::pair(id, focus == id));
    if (focus == id) {
      EXPECT_EQ(look.outer, ws->OuterRect(id));
      EXPECT_TRUE(Shows(CaptureGameAreas(*ws, look, {kLevelRegion, kExpRegion})[1], expSprite));
    }
  }
}

}  // namespace

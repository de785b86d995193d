// The X11 backend against the practice game on a real server and window
// manager: finding it by its exact title, whether it is in front, and the
// pixels at the default regions, counted from the outer corner.
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

using X11GameWindow = X11Test;

TEST_F(X11GameWindow, TheDefaultRegionsReadTheCountersOffScreenReadsBlackAndAClosedWindowNothing) {
  auto game = std::make_unique<PracticeGame>("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u) << "the level never appeared at the default region";
  const QImage expSprite = CounterSprite(1, "1234567890");
  EXPECT_TRUE(Shows(CaptureGameArea(*ws, id, kExpRegion), expSprite));
  // One pixel off in any direction no longer matches: the regions really are
  // counted from the outer corner, frame and title bar included.
  for (const QPoint shift : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
    const CaptureRegion moved{kExpRegion.sx + shift.x(), kExpRegion.sy + shift.y(), 90, 9};
    EXPECT_FALSE(Shows(CaptureGameArea(*ws, id, moved), expSprite)) << shift.x() << "," << shift.y();
  }

  // Strips through the title bar reaching past the right edge of the screen
  // and starting left of its left edge: the parts off the screen are black.
  const QRect outer = ws->OuterRect(id).value_or(QRect());
  const QImage wide = CaptureGameArea(*ws, id, CaptureRegion{0, 5, 2000, 3});
  const QImage left = CaptureGameArea(*ws, id, CaptureRegion{-outer.x() - 50, 5, 60, 3});
  ASSERT_EQ(wide.size(), QSize(2000, 3));
  ASSERT_EQ(left.size(), QSize(60, 3));
  EXPECT_NE(wide.pixel(outer.width() / 2, 0), qRgb(0, 0, 0));
  for (int x = 1280 - outer.x(); x < 2000; x += 97) EXPECT_EQ(wide.pixel(x, 1), qRgb(0, 0, 0)) << x;
  for (int x = 0; x < 50; x += 7) EXPECT_EQ(left.pixel(x, 1), qRgb(0, 0, 0)) << x;

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
// is the game; minimised or on another desktop it runs, not in front.
TEST_F(X11GameWindow, OneLookAnswersAsTheQuestionsOneByOneWhileWindowsComeAndGo) {
  std::array<QWidget, 3> nearTitles;
  for (std::size_t i = 0; i < 3; ++i) {
    const char* title = std::array{"MapleStory2", "MapleStory - Chat", "maplestory"}[i];
    ASSERT_NE(ShowTitled(*ws, nearTitles[i], QString::fromUtf8(title)), 0u) << title;
  }
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
  const std::array<CaptureRegion, 2> regions{kLevelRegion, kExpRegion};
  std::array<QImage, 2> pictures = CaptureGameAreas(*ws, ws->LookAt(kGame), regions);
  EXPECT_TRUE(Shows(pictures[0], CounterSprite(0, "152")));
  EXPECT_TRUE(Shows(pictures[1], CounterSprite(1, "1234567890")));

  // A second window of the title: the topmost of the two is the one found,
  // and activating one raises it.
  auto second = std::make_unique<QWidget>();
  second->setWindowTitle(kGame);
  second->resize(300, 200);
  second->show();
  WindowId top = 0;
  ASSERT_TRUE(WaitUntil([&] { return (top = ws->FindWindowByTitle(kGame)) != id && top != 0; }));
  ASSERT_TRUE(Activate(top));
  EXPECT_TRUE(lookSees(top, true));
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));
  ASSERT_TRUE(Activate(top));
  EXPECT_TRUE(lookSees(top, true));
  second.reset();
  EXPECT_TRUE(WaitUntil([&] { return ws->LookAt(kGame).window == id && agrees(); }));

  // Behind another window, then in front again.
  QWidget notes;
  const WindowId notesId = ShowTitled(*ws, notes, QStringLiteral("Notes"));
  ASSERT_TRUE(Activate(notesId));
  EXPECT_TRUE(lookSees(id, false)) << "behind";
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));

  ASSERT_TRUE(Xdotool({"windowminimize", "--sync", QString::number(id)}));
  EXPECT_TRUE(lookSees(id, false)) << "minimised";
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));
  ASSERT_TRUE(Xdotool({"set_desktop", "0"}));
  ASSERT_TRUE(Xdotool({"set_desktop_for_window", QString::number(id), "1"}));
  EXPECT_TRUE(lookSees(id, false)) << "on another desktop";
  Xdotool({"set_desktop_for_window", QString::number(id), "0"});
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(lookSees(id, true));

  // Gone: the look finds nothing, and grabs for it give no pictures. The
  // last look is one that read the game: openbox slides a restored window
  // back into place, and a look in the middle of that sees it elsewhere.
  WindowLook last;
  ASSERT_TRUE(WaitUntil([&] {
    last = ws->LookAt(kGame);
    return Shows(CaptureGameAreas(*ws, last, regions)[0], CounterSprite(0, "152"));
  }));
  game.reset();
  EXPECT_TRUE(lookSees(0, false));
  pictures = CaptureGameAreas(*ws, last, regions);
  EXPECT_TRUE(pictures[0].isNull() && pictures[1].isNull());
  EXPECT_EQ(ws->GrabScreens({QRect(0, 0, 10, 10), QRect()}, id), std::vector<QImage>(2));
}

TEST_F(X11GameWindow, ThousandsOfCapturesLeaveNoFileOpen) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const QImage sprite = CounterSprite(0, "152");
  const auto round = [&] {
    const WindowLook look = ws->LookAt(kGame);
    const std::array<QImage, 2> pictures = CaptureGameAreas(*ws, look, {kLevelRegion, kExpRegion});
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
}

}  // namespace

// The X11 backend against the practice game on a real server and window
// manager: finding it by its exact title, whether it is in front, and the
// pixels at the default regions, counted from the outer corner.
#include <QWidget>
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

class X11GameWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ws = OpenX11WindowSystem();
    ASSERT_NE(ws, nullptr) << "no X display";
  }
  // A killed game's window lingers until the server has noticed; the next
  // test must not find it.
  void TearDown() override {
    EXPECT_TRUE(!ws || WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
  }
  std::unique_ptr<WindowSystem> ws;
};

TEST_F(X11GameWindow, OnlyTheExactTitleIsTheGameAndItIsInFrontOnlyWhenActivated) {
  std::vector<std::unique_ptr<QWidget>> nearTitles;
  for (const char* title : {"MapleStory2", "MapleStory - Chat", "maplestory"}) {
    nearTitles.push_back(std::make_unique<QWidget>());
    nearTitles.back()->setWindowTitle(QString::fromUtf8(title));
    nearTitles.back()->show();
    ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(QString::fromUtf8(title)) != 0; })) << title;
  }
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const WindowId other = ws->FindWindowByTitle(QStringLiteral("MapleStory2"));
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(other)});
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == other; }));
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(id)});
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));
}

TEST_F(X11GameWindow, AMinimisedGameOrOneOnAnotherDesktopIsRunningButNotInFront) {
  PracticeGame game("152", "1234567890");
  const WindowId id = ShowGame(*ws, "152");
  ASSERT_NE(id, 0u);
  const QString window = QString::number(id);

  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {"windowminimize", "--sync", window}));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() != id; }));
  EXPECT_EQ(ws->FindWindowByTitle(kGame), id) << "minimised";
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));

  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {"set_desktop", "0"}));
  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {"set_desktop_for_window", window, "1"}));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() != id; }));
  EXPECT_EQ(ws->FindWindowByTitle(kGame), id) << "on another desktop";
  RunTool(QStringLiteral("xdotool"), {"set_desktop_for_window", window, "0"});
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));
}

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
// also just after windows came, went or changed places.
TEST_F(X11GameWindow, OneLookAnswersAsTheQuestionsOneByOneWhileWindowsComeAndGo) {
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
  const auto activate = [&](WindowId window) {
    return RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(window)});
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
  ASSERT_TRUE(activate(top));
  EXPECT_TRUE(lookSees(top, true));
  ASSERT_TRUE(activate(id));
  EXPECT_TRUE(lookSees(id, true));
  ASSERT_TRUE(activate(top));
  EXPECT_TRUE(lookSees(top, true));
  second.reset();
  EXPECT_TRUE(WaitUntil([&] { return ws->LookAt(kGame).window == id && agrees(); }));

  // Behind another window, then in front again.
  QWidget notes;
  notes.setWindowTitle(QStringLiteral("Notes"));
  notes.show();
  WindowId notesId = 0;
  ASSERT_TRUE(WaitUntil([&] { return (notesId = ws->FindWindowByTitle(QStringLiteral("Notes"))) != 0; }));
  ASSERT_TRUE(activate(notesId));
  EXPECT_TRUE(lookSees(id, false)) << "behind";
  ASSERT_TRUE(activate(id));
  EXPECT_TRUE(lookSees(id, true));

  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {"windowminimize", "--sync", QString::number(id)}));
  EXPECT_TRUE(lookSees(id, false)) << "minimised";
  ASSERT_TRUE(activate(id));
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

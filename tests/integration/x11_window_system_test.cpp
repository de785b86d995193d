// The X11 backend against a real server and window manager: finding the game
// by its exact title, telling whether it is in front, and its outer rectangle.
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

#include "capture/x11/x11_window_system.h"
#include "x11_practice_game.h"

namespace {

const QString kGame = QStringLiteral("MapleStory");

class X11WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws = OpenX11WindowSystem();
    ASSERT_NE(ws, nullptr) << "no X display";
  }
  // A killed game's window lingers until the server has noticed; the next
  // test must not find it.
  void TearDown() override {
    if (ws) {
      EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
    }
  }

  WindowId WaitForGame(int timeoutMs = 10000) {
    WindowId id = 0;
    WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }, timeoutMs);
    return id;
  }

  std::unique_ptr<QWidget> ShowWindow(const QString& title) {
    auto w = std::make_unique<QWidget>();
    w->setWindowTitle(title);
    w->resize(300, 200);
    w->show();
    return w;
  }

  std::unique_ptr<WindowSystem> ws;
};

TEST_F(X11WindowSystemTest, OpeningADisplayThatDoesNotExistGivesNothing) {
  EXPECT_EQ(OpenX11WindowSystem(":4242"), nullptr);
}

TEST_F(X11WindowSystemTest, TheScreenIsTheVirtualServersScreen) {
  EXPECT_EQ(ws->ScreenSize(), QSize(1280, 1024));
}

TEST_F(X11WindowSystemTest, OnlyTheExactTitleIsTheGame) {
  const auto nearOne = ShowWindow(QStringLiteral("MapleStory2"));
  const auto nearTwo = ShowWindow(QStringLiteral("MapleStory - Chat"));
  ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(QStringLiteral("MapleStory - Chat")) != 0; }));
  ASSERT_NE(ws->FindWindowByTitle(QStringLiteral("MapleStory2")), 0u);
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);
  EXPECT_EQ(ws->FindWindowByTitle(QStringLiteral("maplestory")), 0u);

  PracticeGame game({QStringLiteral("--frozen")});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForGame();
  ASSERT_NE(id, 0u);
  EXPECT_NE(id, ws->FindWindowByTitle(QStringLiteral("MapleStory2")));
  EXPECT_NE(id, ws->FindWindowByTitle(QStringLiteral("MapleStory - Chat")));
  EXPECT_NE(id, nearOne->winId());
}

TEST_F(X11WindowSystemTest, AHiddenWindowIsNotFound) {
  const auto w = ShowWindow(kGame);
  ASSERT_NE(WaitForGame(), 0u);
  w->hide();
  EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
  w->show();
  EXPECT_NE(WaitForGame(), 0u);
}

TEST_F(X11WindowSystemTest, ATitleInJapaneseIsMatchedExactly) {
  const QString title = QString::fromUtf8("メイプルストーリー");
  const auto w = ShowWindow(title);
  ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(title) != 0; }));
  EXPECT_EQ(ws->FindWindowByTitle(title + "2"), 0u);
}

TEST_F(X11WindowSystemTest, AClientWithOnlyTheClassicNameIsFoundByIt) {
  const auto w = ShowWindow(QStringLiteral("placeholder"));
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(QStringLiteral("placeholder"))) != 0; }));
  const QString window = QString::number(id);
  ASSERT_TRUE(RunTool(QStringLiteral("xprop"), {"-id", window, "-remove", "_NET_WM_NAME"}));
  ASSERT_TRUE(RunTool(QStringLiteral("xprop"), {"-id", window, "-f", "WM_NAME", "8s", "-set", "WM_NAME", kGame}));
  EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == id; }));
  ASSERT_TRUE(RunTool(QStringLiteral("xprop"), {"-id", window, "-f", "WM_NAME", "8s", "-set", "WM_NAME", "MapleStory2"}));
  EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
}

TEST_F(X11WindowSystemTest, TheForegroundFollowsActivation) {
  PracticeGame game({QStringLiteral("--frozen")});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForGame();
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));

  const auto other = ShowWindow(QStringLiteral("Notepad"));
  ASSERT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(QStringLiteral("Notepad")) != 0; }));
  ASSERT_TRUE(Activate(ws->FindWindowByTitle(QStringLiteral("Notepad"))));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() != id && ws->ForegroundWindow() != 0; }));

  ASSERT_TRUE(Activate(id));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));
}

TEST_F(X11WindowSystemTest, TheOuterRectangleIncludesTheFrameAndTitleBar) {
  PracticeGame game({QStringLiteral("--frozen")});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForGame();
  ASSERT_NE(id, 0u);
  // openbox decorates the window once it manages it.
  std::optional<QRect> outer;
  ASSERT_TRUE(WaitUntil([&] {
    outer = ws->OuterRect(id);
    return outer && outer->height() > 600;
  }));
  EXPECT_GE(outer->width(), 800);
  EXPECT_GE(outer->height() - 600, 10) << "no title bar counted";
  EXPECT_TRUE(QRect(QPoint(0, 0), ws->ScreenSize()).intersects(*outer));
}

TEST_F(X11WindowSystemTest, AClosedWindowHasNoRectangleAndIsNoLongerFound) {
  auto game = std::make_unique<PracticeGame>(QStringList{QStringLiteral("--frozen")});
  ASSERT_TRUE(game->Started());
  const WindowId id = WaitForGame();
  ASSERT_NE(id, 0u);
  game.reset();
  EXPECT_TRUE(WaitUntil([&] { return !ws->OuterRect(id); }));
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() != id; }));
  // Ids that never were windows, or cannot be: nothing, and no end of the program.
  EXPECT_FALSE(ws->OuterRect(0));
  EXPECT_FALSE(ws->OuterRect(0x7FFFFFFFu));
  EXPECT_FALSE(ws->OuterRect(0x1'0000'0001ull));
}

TEST_F(X11WindowSystemTest, TheBeepDoesNotDisturbLaterRequests) {
  ws->Beep();
  ws->Beep();
  EXPECT_EQ(ws->ScreenSize(), QSize(1280, 1024));
}

}  // namespace

// The X11 backend on a server without a window manager: no client list, no
// active-window property, no frames. The program runs itself again on a
// private server of its own started without openbox.
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

#include "capture/capture_area.h"
#include "capture/x11/x11_window_system.h"
#include "x11_practice_game.h"

namespace {

const QString kGame = QStringLiteral("MapleStory");

bool OnServerWithoutWindowManager() { return qEnvironmentVariable("TALLYMETER_NO_WM") == QStringLiteral("1"); }

TEST(X11WithoutWindowManager, PassesOnAServerOfItsOwn) {
  if (OnServerWithoutWindowManager()) GTEST_SKIP() << "this is the run on that server";
  const QString withX =
      QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../scripts/with-x"));
  QProcess run;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TALLYMETER_NO_WM"), QStringLiteral("1"));
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(withX, {QCoreApplication::applicationFilePath()});
  ASSERT_TRUE(run.waitForFinished(240000));
  const QString output = QString::fromUtf8(run.readAll());
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ]")) << output.toStdString();
  EXPECT_FALSE(output.contains("[  SKIPPED ] X11NoWindowManager")) << output.toStdString();
}

class X11NoWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnServerWithoutWindowManager()) GTEST_SKIP() << "runs on the server without a window manager";
    ws = OpenX11WindowSystem();
    ASSERT_NE(ws, nullptr);
  }
  void TearDown() override {
    if (ws) {
      EXPECT_TRUE(WaitUntil([&] { return ws->FindWindowByTitle(kGame) == 0; }));
    }
  }
  WindowId WaitForTitle(const QString& title) {
    WindowId id = 0;
    WaitUntil([&] { return (id = ws->FindWindowByTitle(title)) != 0; });
    return id;
  }

  std::unique_ptr<WindowSystem> ws;
};

TEST_F(X11NoWindowManager, TheGameIsFoundAmongTheRootsChildrenByItsExactTitle) {
  QWidget nearOne, nearTwo;
  nearOne.setWindowTitle(QStringLiteral("MapleStory2"));
  nearTwo.setWindowTitle(QStringLiteral("MapleStory - Chat"));
  nearOne.show();
  nearTwo.show();
  ASSERT_NE(WaitForTitle(QStringLiteral("MapleStory2")), 0u);
  ASSERT_NE(WaitForTitle(QStringLiteral("MapleStory - Chat")), 0u);
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game({QStringLiteral("--frozen")});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForTitle(kGame);
  ASSERT_NE(id, 0u);
  EXPECT_NE(id, ws->FindWindowByTitle(QStringLiteral("MapleStory2")));
  // No frame: the outer rectangle is the window itself.
  const auto outer = ws->OuterRect(id);
  ASSERT_TRUE(outer);
  EXPECT_EQ(outer->size(), QSize(800, 600));
}

TEST_F(X11NoWindowManager, TheForegroundIsTheWindowWithTheKeyboardFocus) {
  PracticeGame game({QStringLiteral("--frozen")});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForTitle(kGame);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QString::number(id)}));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == id; }));

  QWidget other;
  other.setWindowTitle(QStringLiteral("Notepad"));
  other.show();
  const WindowId otherId = WaitForTitle(QStringLiteral("Notepad"));
  ASSERT_NE(otherId, 0u);
  ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QString::number(otherId)}));
  EXPECT_TRUE(WaitUntil([&] { return ws->ForegroundWindow() == otherId; }));
}

TEST_F(X11NoWindowManager, TheDefaultRegionsReadTheCountersOfAnUnframedWindow) {
  PracticeGame game({"--frozen", "--level", "7", "--exp", "9081726354"});
  ASSERT_TRUE(game.Started());
  const WindowId id = WaitForTitle(kGame);
  ASSERT_NE(id, 0u);
  const QImage level = CounterSprite(0, "7");
  const QImage exp = CounterSprite(1, "9081726354");
  const auto shows = [](const QImage& picture, const QImage& sprite) {
    return !picture.isNull() && picture.copy(QRect(QPoint(0, 0), sprite.size())) == sprite.convertToFormat(QImage::Format_RGB32);
  };
  EXPECT_TRUE(WaitUntil([&] { return shows(CaptureGameArea(*ws, id, CaptureRegion{35, 576, 44, 13}), level); }));
  EXPECT_TRUE(shows(CaptureGameArea(*ws, id, CaptureRegion{463, 570, 90, 9}), exp));
}

}  // namespace

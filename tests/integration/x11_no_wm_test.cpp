// The X11 backend on a server without a window manager: no client list, no
// active-window property, no frames. The program runs itself again on a
// private server of its own started without openbox.
#include <QProcessEnvironment>
#include <QWidget>
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

bool OnServerWithoutWindowManager() { return qEnvironmentVariable("TALLYMETER_NO_WM") == "1"; }

TEST(X11WithoutWindowManager, PassesOnAServerOfItsOwn) {
  if (OnServerWithoutWindowManager()) GTEST_SKIP() << "this is the run on that server";
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TALLYMETER_NO_WM", "1");
  QProcess run;
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  const QString withX = QStringLiteral(TALLYMETER_SOURCE_DIR "/scripts/with-x");
  run.start(withX, {QCoreApplication::applicationFilePath()});
  ASSERT_TRUE(run.waitForFinished(240000));
  const std::string output = run.readAll().toStdString();
  EXPECT_EQ(run.exitCode(), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

TEST(X11WithoutWindowManager, FindsTheGameAmongTheRootsChildrenAndTheForegroundByInputFocus) {
  if (!OnServerWithoutWindowManager()) GTEST_SKIP() << "runs on the server without a window manager";
  const std::unique_ptr<WindowSystem> ws = OpenX11WindowSystem();
  ASSERT_NE(ws, nullptr);
  QWidget nearTitle;
  nearTitle.setWindowTitle(QStringLiteral("MapleStory2"));
  nearTitle.show();
  WindowId other = 0;
  ASSERT_TRUE(WaitUntil([&] { return (other = ws->FindWindowByTitle(QStringLiteral("MapleStory2"))) != 0; }));
  EXPECT_EQ(ws->FindWindowByTitle(kGame), 0u);

  PracticeGame game("7", "9081726354");
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = ws->FindWindowByTitle(kGame)) != 0; }));
  EXPECT_EQ(ws->OuterRect(id).value_or(QRect()).size(), QSize(800, 600)) << "no frame: the window itself";
  const QImage expSprite = CounterSprite(1, "9081726354");
  EXPECT_TRUE(WaitUntil([&] { return Shows(CaptureGameArea(*ws, id, kExpRegion), expSprite); }));
  for (const WindowId focus : {id, other}) {
    ASSERT_TRUE(RunTool(QStringLiteral("xdotool"), {"windowfocus", QString::number(focus)}));
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

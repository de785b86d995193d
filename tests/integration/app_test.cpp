// The real program against the practice game on a real X server: with a
// lag of days in its file it still captures, and its close box ends it.
#include <gtest/gtest.h>

#include "x11_practice_game.h"

namespace {

TEST(App, ALagOfDaysInTheFileStillCapturesAndClosingTheWindowEndsTheProgram) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  // A hand-edited file: the dialog allows 0 to 100.
  const QString program = InstallProgram(folder, "Tallymeter", [](Settings& s) { s.lag = 2147483647; });

  // Within its level's size: the guard has no doubt about a first reading.
  PracticeGame game("152", "123456789");
  const WindowId gameWindow = ShowGame(*x11, "152");
  ASSERT_NE(gameWindow, 0u);
  QProcess meter;
  meter.start(program, {});
  const auto trace = [&] { return DecodeCp932(folder.Read(QStringLiteral("debug.txt"))); };
  ASSERT_TRUE(WaitUntil([&] { return trace().contains(" Log Start"); }, 30000));
  // The meter's window took the focus; the game must be in front at the capture.
  Activate(gameWindow);
  // The first capture, 15 seconds on, reads the game with the longest lag the
  // dialog offers instead of waiting for 24 days.
  EXPECT_TRUE(WaitUntil([&] { return trace().contains(" Fast ImageRecognition"); }, 90000)) << trace().toStdString();

  // The close box ends the program, whatever it was waiting for.
  const WindowId meterWindow = x11->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory"));
  ASSERT_NE(meterWindow, 0u);
  Xdotool({"windowactivate", "--sync", QString::number(meterWindow), "key", "alt+F4"});
  EXPECT_TRUE(meter.waitForFinished(30000)) << "the program outlived its window";
  if (meter.state() != QProcess::NotRunning) {
    meter.kill();
    meter.waitForFinished(10000);
  }
}

}  // namespace

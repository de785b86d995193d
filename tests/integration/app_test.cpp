// The whole program against the practice game on a real X server: the main
// window on the X11 backend, with a clock the test moves, reads the counters
// and logs a gain byte for byte; the real program started twice from one
// folder shows one message and leaves the first copy's trace alone.
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

#include "main_window/startup.h"
#include "persistence/debug_trace.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "x11_practice_game.h"

namespace {

// The defaults, and the player's set taught from them (no first-start message).
void InstallPatterns(const TempFolder& folder) {
  for (const QString& subfolder : {QStringLiteral("system"), QStringLiteral("Pattern")}) {
    QDir().mkpath(folder.File(subfolder));
    for (const QString& name : QDir(kBinDir + "/system").entryList(QDir::Files)) {
      QFile::copy(kBinDir + "/system/" + name, folder.File(subfolder + "/" + name));
    }
  }
}

TEST(App, ReadsTheGameAndLogsTheGainByteForByte) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  FakeClock clock;
  RecordingMessageBoxes boxes;
  DebugTrace trace(folder.Path(), [&clock] { return clock.Now(); });
  Services services{clock, *x11, boxes, trace};
  const StartedProgram program = StartProgram(services, folder.Path());
  ASSERT_FALSE(program.ended);
  Form1& form = *program.form;
  {
    PracticeGame game("152", "1234567890");
    ASSERT_NE(ShowGame(*x11, "152"), 0u) << "the practice game did not come to the front";
    form.menuRun_Click();
    clock.AdvanceSeconds(20);
    form.timCaptureInterval_Timer();
    EXPECT_EQ(form.findChild<QLabel*>("lblCapture_0")->text(), QStringLiteral("152"));
    EXPECT_EQ(form.findChild<QLabel*>("lblCapture_1")->text(), QStringLiteral("1234567890"));
  }
  ASSERT_TRUE(WaitUntil([&] { return x11->FindWindowByTitle(kGame) == 0; }));
  PracticeGame game("152", "1234600000");
  ASSERT_NE(ShowGame(*x11, "152"), 0u);
  clock.AdvanceSeconds(20 * 60);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(form.findChild<QLabel*>("lblCapture_1")->text(), QStringLiteral("1234600000"));
  EXPECT_TRUE(boxes.shown.empty());

  QFile file(folder.File(QStringLiteral("log/給与明細202612051430.txt")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // 32,110 gained in 1,200 seconds: 20.0 minutes, 96 k/h.
  EXPECT_EQ(file.readAll(),
            EncodeCp932(QStringLiteral("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) \r\n"
                                       "12/05 14:50   152   1,234,600,000       32,110"
                                       "     20.0           96 \r\n")));
}

TEST(App, ASecondCopyShowsOneMessageEndsAndLeavesTheFirstCopysTraceAlone) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  // A copy of the program in a folder of its own, so the build folder keeps
  // no settings, trace or lock.
  TempFolder folder;
  InstallPatterns(folder);
  const QString program = folder.File(QStringLiteral("Tallymeter"));
  QFile::copy(kBinDir + "/Tallymeter", program);
  QProcess first;
  first.start(program, {});
  const auto trace = [&] { return folder.Read(QStringLiteral("debug.txt")); };
  ASSERT_TRUE(WaitUntil([&] { return trace().contains(" All Form Loading"); }, 30000));
  const QByteArray before = trace();

  QProcess second;
  second.start(program, {});
  const auto box = [&] { return x11->FindWindowByTitle(QStringLiteral("エラー")); };
  ASSERT_TRUE(WaitUntil([&] { return box() != 0; }, 30000)) << "the second copy showed no message";
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(box()), "key", "Return"});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitCode(), 1);
  EXPECT_EQ(trace(), before);
  EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("debugBackUp.txt"))));
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();
  first.waitForFinished(10000);
}

}  // namespace

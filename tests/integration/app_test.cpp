// The whole program against the practice game on a real X server: the main
// window on the X11 backend, with a clock the test moves, reads the counters
// and logs a gain byte for byte; digits the game draws differently are taught
// through the clipboard and the pattern editor; the real program started
// twice from one folder shows one message and leaves the first copy's trace
// alone.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "dialogs/form3.h"
#include "main_window/startup.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "in_process_program.h"
#include "x11_practice_game.h"

namespace {

TEST(App, ReadsTheGameAndLogsTheGainByteForByte) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  InProcessProgram program(*x11, folder.Path());
  ASSERT_FALSE(program.started.ended);
  Form1& form = *program.started.form;
  FakeClock& clock = program.clock;
  {
    // Level 190 needs 1,312,399,850: a counter the misread guard believes.
    PracticeGame game("190", "1234567890");
    ASSERT_NE(ShowGame(*x11, "190"), 0u) << "the practice game did not come to the front";
    form.menuRun_Click();
    clock.AdvanceSeconds(20);
    form.timCaptureInterval_Timer();
    EXPECT_EQ(program.Caption(0), QStringLiteral("190"));
    EXPECT_EQ(program.Caption(1), QStringLiteral("1234567890"));
  }
  ASSERT_TRUE(WaitUntil([&] { return x11->FindWindowByTitle(kGame) == 0; }));
  PracticeGame game("190", "1234600000");
  ASSERT_NE(ShowGame(*x11, "190"), 0u);
  clock.AdvanceSeconds(20 * 60);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(program.Caption(1), QStringLiteral("1234600000"));
  EXPECT_TRUE(program.boxes.shown.empty());

  QFile file(folder.File(QStringLiteral("log/給与明細202612051430.txt")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // 32,110 gained in 1,200 seconds: 20.0 minutes, 96 k/h.
  EXPECT_EQ(file.readAll(),
            EncodeCp932(QStringLiteral("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) \r\n"
                                       "12/05 14:50   190   1,234,600,000       32,110"
                                       "     20.0           96 \r\n")));
}

QString PatternName(int slot, int area) {
  return slot < 10 ? QStringLiteral("Pattern%1%2.bmp").arg(area).arg(slot)
                   : QStringLiteral("PatternDel%1.bmp").arg(area);
}

// Pastes the eleven pictures of `area` from `folder` into the open editor,
// one clipboard copy per slot as a player would, then saves.
void TeachArea(Form3& editor, const QString& folder, int area) {
  for (int slot = 0; slot < 11; ++slot) {
    QGuiApplication::clipboard()->setImage(QImage(folder + "/" + PatternName(slot, area)));
    auto* target = editor.findChild<QWidget*>(slot < 10 ? QStringLiteral("picPattern(%1)").arg(slot)
                                                        : QStringLiteral("picPatternDL"));
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, Qt::LeftButton);
  }
  editor.findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
}

TEST(App, DigitsTaughtThroughTheClipboardAndTheEditorReadTheNextCapture) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  // The game draws the delivered digits with their colours inverted.
  const QString changed = InvertedPatterns(folder);
  ASSERT_FALSE(changed.isEmpty());
  InProcessProgram program(*x11, folder.Path());
  ASSERT_FALSE(program.started.ended);
  Form1& form = *program.started.form;

  QProcess game;
  game.setStandardOutputFile(QProcess::nullDevice());
  game.start(kBinDir + "/practice_window",
             {"--frozen", "--level", "152", "--exp", "1234567890", "--patterns", changed});
  WindowId id = 0;
  ASSERT_TRUE(WaitUntil([&] { return (id = x11->FindWindowByTitle(kGame)) != 0; }));
  const auto bringGameToFront = [&] {
    RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(id)});
    return WaitUntil([&] { return x11->ForegroundWindow() == id; });
  };
  ASSERT_TRUE(bringGameToFront());
  const QImage firstDigit = QImage(changed + "/" + PatternName(1, 0)).convertToFormat(QImage::Format_RGB32);
  ASSERT_TRUE(WaitUntil([&] {
    const QImage level = CaptureGameArea(*x11, id, kLevelRegion);
    return !level.isNull() && level.copy(0, 0, firstDigit.width(), firstDigit.height()) == firstDigit;
  })) << "the practice game never showed its counters";

  form.menuRun_Click();
  program.clock.AdvanceSeconds(20);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(program.Caption(0), QStringLiteral("認識NG"));
  EXPECT_EQ(program.Caption(1), QStringLiteral("認識NG"));

  for (int area = 0; area < 2; ++area) {
    QTimer::singleShot(0, [&] { TeachArea(*form.PatternEditor(), changed, area); });
    form.menuPattern_Click(area);
  }
  EXPECT_TRUE(program.boxes.shown.empty());
  EXPECT_EQ(QImage(folder.File("Pattern/" + PatternName(7, 1))).convertToFormat(QImage::Format_RGB32),
            QImage(changed + "/" + PatternName(7, 1)).convertToFormat(QImage::Format_RGB32));

  ASSERT_TRUE(bringGameToFront()) << "the editor kept the game behind";
  program.clock.AdvanceSeconds(20);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(program.Caption(0), QStringLiteral("152"));
  EXPECT_EQ(program.Caption(1), QStringLiteral("1234567890"));
  game.kill();
  game.waitForFinished(10000);
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

TEST(App, ALagOfDaysInTheFileStillCapturesAndClosingTheWindowEndsTheProgram) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  InstallPatterns(folder);
  Settings settings = Settings::Defaults(folder.Path());
  settings.autoStart = true;
  settings.lag = 2147483647;  // a hand-edited file: the dialog allows 0 to 100
  ASSERT_FALSE(ConfigFile(QStringLiteral("SAVE"), settings, folder.Path()));
  const QString program = folder.File(QStringLiteral("Tallymeter"));
  QFile::copy(kBinDir + "/Tallymeter", program);

  // Within its level's size: the guard has no doubt about a first reading.
  PracticeGame game("152", "123456789");
  const WindowId gameWindow = ShowGame(*x11, "152");
  ASSERT_NE(gameWindow, 0u);
  QProcess meter;
  meter.start(program, {});
  const auto trace = [&] { return DecodeCp932(folder.Read(QStringLiteral("debug.txt"))); };
  ASSERT_TRUE(WaitUntil([&] { return trace().contains(" Log Start"); }, 30000));
  // The meter's window took the focus; the game must be in front at the capture.
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(gameWindow)});
  // The first capture, 15 seconds on, reads the game with the longest lag the
  // dialog offers instead of waiting for 24 days.
  EXPECT_TRUE(WaitUntil([&] { return trace().contains(" Fast ImageRecognition"); }, 90000)) << trace().toStdString();

  // The close box ends the program, whatever it was waiting for.
  const WindowId meterWindow = x11->FindWindowByTitle(QStringLiteral("Tallymeter  For MapleStory"));
  ASSERT_NE(meterWindow, 0u);
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(meterWindow)});
  RunTool(QStringLiteral("xdotool"), {"key", "alt+F4"});
  EXPECT_TRUE(meter.waitForFinished(30000)) << "the program outlived its window";
  if (meter.state() != QProcess::NotRunning) {
    meter.kill();
    meter.waitForFinished(10000);
  }
}

}  // namespace

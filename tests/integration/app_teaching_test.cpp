// Teaching on a real X server: the practice game draws its counters with a
// digit set Tallymeter has never seen, so the first capture cannot be read;
// the player pastes the eleven pictures of each area into the pattern editor
// through the real clipboard, saves, and the next capture reads the game.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "dialogs/form3.h"
#include "main_window/startup.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "x11_practice_game.h"

namespace {

QString PatternName(int slot, int area) {
  return slot < 10 ? QStringLiteral("Pattern%1%2.bmp").arg(area).arg(slot)
                   : QStringLiteral("PatternDel%1.bmp").arg(area);
}

// The delivered digits with their colours inverted: same shapes, but not one
// pixel within reach of the defaults.
void WriteChangedDigits(const QString& folder) {
  QDir().mkpath(folder);
  for (const QString& name : QDir(kBinDir + "/system").entryList(QDir::Files)) {
    QImage picture(kBinDir + "/system/" + name);
    picture.invertPixels();
    ASSERT_TRUE(picture.save(folder + "/" + name, "BMP"));
  }
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

TEST(Teaching, DigitsPastedIntoTheEditorReadTheNextCapture) {
  const std::unique_ptr<WindowSystem> x11 = OpenX11WindowSystem();
  ASSERT_NE(x11, nullptr) << "no X display";
  TempFolder folder;
  const QString changed = folder.File(QStringLiteral("changed"));
  WriteChangedDigits(changed);
  QDir().mkpath(folder.File(QStringLiteral("system")));
  for (const QString& name : QDir(kBinDir + "/system").entryList(QDir::Files)) {
    QFile::copy(kBinDir + "/system/" + name, folder.File("system/" + name));
  }

  FakeClock clock;
  RecordingMessageBoxes boxes;
  DebugTrace trace(folder.Path(), [&clock] { return clock.Now(); });
  Services services{clock, *x11, boxes, trace};
  const StartedProgram program = StartProgram(services, folder.Path());
  ASSERT_FALSE(program.ended);
  Form1& form = *program.form;
  boxes.shown.clear();  // the first start's pattern message

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
    return !level.isNull() &&
           level.copy(0, 0, firstDigit.width(), firstDigit.height()) == firstDigit;
  })) << "the practice game never showed its counters";

  const auto caption = [&](int area) {
    return form.findChild<QLabel*>(QStringLiteral("lblCapture_%1").arg(area))->text();
  };
  form.menuRun_Click();
  clock.AdvanceSeconds(20);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(caption(0), QStringLiteral("認識NG"));
  EXPECT_EQ(caption(1), QStringLiteral("認識NG"));

  for (int area = 0; area < 2; ++area) {
    QTimer::singleShot(0, [&] { TeachArea(*form.PatternEditor(), changed, area); });
    form.menuPattern_Click(area);
  }
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(QImage(folder.File("Pattern/" + PatternName(7, 1))).convertToFormat(QImage::Format_RGB32),
            QImage(changed + "/" + PatternName(7, 1)).convertToFormat(QImage::Format_RGB32));

  ASSERT_TRUE(bringGameToFront()) << "the editor kept the game behind";
  clock.AdvanceSeconds(20);
  form.timCaptureInterval_Timer();
  EXPECT_EQ(caption(0), QStringLiteral("152"));
  EXPECT_EQ(caption(1), QStringLiteral("1234567890"));
  game.kill();
  game.waitForFinished(10000);
}

}  // namespace

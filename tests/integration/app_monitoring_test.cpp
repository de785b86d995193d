// The whole program against the practice game on a real X server: the main
// window is built on the X11 backend with a clock the test moves, Run is
// chosen, the due tick reads the counters off the game window, and a gain
// reaches the log file exactly as the program writes it.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "capture/x11/x11_window_system.h"
#include "main_window/startup.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "x11_practice_game.h"

namespace {

const QString kGame = QStringLiteral("MapleStory");

void CopyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  const QDir source(from);
  for (const QString& name : source.entryList(QDir::Files)) QFile::copy(source.filePath(name), to + "/" + name);
}

class AppMonitoring : public ::testing::Test {
 protected:
  void SetUp() override {
    x11 = OpenX11WindowSystem();
    ASSERT_NE(x11, nullptr) << "no X display";
    // The defaults, and the player's set taught from them (no first-start message).
    CopyFolder(QStringLiteral(TALLYMETER_BIN_DIR "/system"), folder.File("system"));
    CopyFolder(QStringLiteral(TALLYMETER_BIN_DIR "/system"), folder.File("Pattern"));
    Settings settings = Settings::Defaults(folder.Path());
    settings.lag = 0;
    ASSERT_FALSE(ConfigFile(QStringLiteral("SAVE"), settings, folder.Path()));
    trace = std::make_unique<DebugTrace>(folder.Path(), [this] { return clock.Now(); });
    services = std::make_unique<Services>(Services{clock, *x11, boxes, *trace});
    program = StartProgram(*services, folder.Path());
    ASSERT_FALSE(program.ended);
  }

  // Starts the game and waits until it is found and in front of the main window.
  bool StartGame(PracticeGame& game) {
    if (!game.Started()) return false;
    WindowId id = 0;
    if (!WaitUntil([&] { return (id = x11->FindWindowByTitle(kGame)) != 0; })) return false;
    Activate(id);
    if (!WaitUntil([&] { return x11->ForegroundWindow() == id && game.Output().contains("level="); })) return false;
    // Give the game time to paint its status bar once it is in front.
    WaitUntil([] { return false; }, 500);
    return true;
  }

  // Lets `seconds` pass and fires the monitoring timer, as ten-second ticks would.
  void TickAfter(int seconds) {
    clock.AdvanceSeconds(seconds);
    program.form->timCaptureInterval_Timer();
  }

  QString Caption(int area) {
    return program.form->findChild<QLabel*>(QStringLiteral("lblCapture_%1").arg(area))->text();
  }

  TempFolder folder;
  FakeClock clock;
  RecordingMessageBoxes boxes;
  std::unique_ptr<WindowSystem> x11;
  std::unique_ptr<DebugTrace> trace;
  std::unique_ptr<Services> services;
  StartedProgram program;
};

TEST_F(AppMonitoring, ReadsTheGameAndLogsTheGainByteForByte) {
  Form1& form = *program.form;
  {
    PracticeGame game({"--frozen", "--level", "152", "--exp", "1234567890"});
    ASSERT_TRUE(StartGame(game)) << "the practice game did not come to the front";
    form.menuRun_Click();
    ASSERT_TRUE(form.IsMonitoring());
    TickAfter(10);
    EXPECT_EQ(Caption(0), QStringLiteral("000")) << "nothing is due 10 seconds after Run";
    TickAfter(10);
    EXPECT_EQ(Caption(0), QStringLiteral("152"));
    EXPECT_EQ(Caption(1), QStringLiteral("1234567890"));
    EXPECT_TRUE(boxes.shown.empty());
  }
  {
    PracticeGame game({"--frozen", "--level", "152", "--exp", "1234600000"});
    ASSERT_TRUE(StartGame(game));
    TickAfter(20 * 60);
    EXPECT_EQ(Caption(1), QStringLiteral("1234600000"));
  }

  const QString path = form.LogWriter().CurrentPath(form.State().settings);
  EXPECT_EQ(path, folder.Path() + QStringLiteral("/log/給与明細202612051430.txt"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // 32,110 gained in 1,200 seconds: 20.0 minutes, 96 k/h.
  const QString expected =
      QStringLiteral("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) \r\n") +
      QStringLiteral("12/05 14:50 ") + QStringLiteral("  152 ") + QStringLiteral("  1,234,600,000 ") +
      QStringLiteral("      32,110 ") + QStringLiteral("    20.0  ") + QStringLiteral("         96 ") +
      QStringLiteral("\r\n");
  EXPECT_EQ(file.readAll(), EncodeCp932(expected));
}

TEST_F(AppMonitoring, UnderARealWindowManagerTheLogKeepsItsMarginsInsideTheWindow) {
  Form1& form = *program.form;
  QWidget* log = form.findChild<QWidget*>(QStringLiteral("txtLog"));
  for (const QSize size : {QSize(700, 600), QSize(200, 150)}) {
    form.resize(size);
    WaitUntil([] { return false; }, 300);
    const QSize client = form.centralWidget()->size();
    EXPECT_GE(client.width(), 360);
    EXPECT_GE(client.height(), 256);
    EXPECT_EQ(log->x(), 8);
    EXPECT_EQ(log->geometry().right() + 1, client.width() - 8);
    EXPECT_EQ(log->geometry().bottom() + 1, client.height() - 16);
  }
}

}  // namespace

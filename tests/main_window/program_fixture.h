#pragma once
// A whole program on fakes: a program folder of its own (with the delivered
// default patterns), a clock that moves when told, a scripted game window and
// recorded message boxes.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "main_window/startup.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "persistence/text_file.h"
#include "support/fakes.h"
#include "support/game_screen.h"
#include "support/temp_folder.h"

inline const Notice kGameMissing{"MapleStoryが起動していません", "エラー"};

// Recorded boxes that can let time pass while one is open, as a real modal
// box does (its own event loop keeps the timer running).
class OpenBoxes : public RecordingMessageBoxes {
 public:
  void Inform(const QString& text, const QString& title) override {
    RecordingMessageBoxes::Inform(text, title);
    if (whileOpen) whileOpen();
  }
  std::function<void()> whileOpen;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    InstallPatterns(folder_);
    windows_.screen.fill(Qt::black);
  }

  // Starts the program (lock, then the load sequence) with the default
  // settings, no recognition lag, changed by `change`.
  void Start(const std::function<void(Settings&)>& change = {}) {
    Settings settings = Settings::Defaults(folder_.Path());
    settings.lag = 0;
    if (change) change(settings);
    EXPECT_FALSE(ConfigFile(QStringLiteral("SAVE"), settings, folder_.Path()));
    program_ = StartProgram(services_, folder_.Path());
    EXPECT_FALSE(program_.ended);
  }
  Form1& form() { return *program_.form; }

  // The game window with `level` and `exp` on screen; in front when asked.
  void OpenGame(const QString& level, const QString& exp, bool inFront = true) {
    const QRect outer(100, 50, 800, 650);
    if (game_ == 0) game_ = windows_.Add(QStringLiteral("MapleStory"), outer);
    const auto& regions = Settings::Defaults(folder_.Path()).captureRegions;
    PaintCounter(windows_.screen, outer.topLeft() + QPoint(regions[0].sx, regions[0].sy), 0, level);
    PaintCounter(windows_.screen, outer.topLeft() + QPoint(regions[1].sx, regions[1].sy), 1, exp);
    if (inFront) windows_.foreground = game_;
  }

  // Run, with the timer's 10-second phase starting now.
  void Run() {
    form().menuRun_Click();
    pendingSeconds_ = 0;
  }

  // Moves the clock on by `seconds`, firing the monitoring timer at every
  // 10-second boundary, as the running timer would.
  void RunFor(int seconds) {
    for (int s = 0; s < seconds; ++s) {
      clock_.AdvanceSeconds(1);
      if (++pendingSeconds_ % 10 == 0 && form().IsMonitoring()) form().timCaptureInterval_Timer();
    }
  }

  // Trace messages without their date and time, in order.
  QStringList TraceMessages() const {
    static const QRegularExpression stamp(QStringLiteral("(?m)^\\d{4}/\\d\\d/\\d\\d \\d{1,2}:\\d\\d:\\d\\d"));
    QString text = DecodeCp932(folder_.Read(QStringLiteral("debug.txt")));
    return text.remove(stamp).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  QLabel* Label(const QString& name) { return form().findChild<QLabel*>(name); }

  TempFolder folder_;
  FakeClock clock_;
  FakeWindowSystem windows_;
  OpenBoxes boxes_;
  DebugTrace trace_{folder_.Path(), [this] { return clock_.Now(); }};
  Services services_{clock_, windows_, boxes_, trace_};
  StartedProgram program_;
  WindowId game_ = 0;
  int pendingSeconds_ = 0;  // time since the last tick
};

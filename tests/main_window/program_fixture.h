#pragma once
// A whole program on fakes: a program folder of its own (with the delivered
// default patterns), a clock that moves when told, a scripted game window and
// recorded message boxes.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "main_window/startup.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "support/game_screen.h"
#include "support/temp_folder.h"

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
    ShowCounters(windows_, game_, level, exp, inFront);
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

  QStringList TraceMessages() const { return ::TraceMessages(folder_); }
  QLabel* Label(const QString& name) { return form().findChild<QLabel*>(name); }
  QPlainTextEdit* Log() { return form().findChild<QPlainTextEdit*>(QStringLiteral("txtLog")); }

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

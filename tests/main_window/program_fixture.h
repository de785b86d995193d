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

  // 開始: the cycle's 10-second ticks count from now.
  void Run() { form().menuRun_Click(); }

  // Moves the clock on by `seconds`; the program's timers run on the way.
  void RunFor(int seconds) { clock_.AdvanceSeconds(seconds); }

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
};

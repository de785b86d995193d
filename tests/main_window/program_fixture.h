#pragma once
// A whole program on fakes: a program folder of its own (with the delivered
// default patterns), a clock that moves when told, a scripted window system
// and recorded message boxes.

#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

#include "main_window/form1.h"
#include "main_window/startup.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

class QAction;
class QLabel;

// Copies the 22 default pattern bitmaps into <folder>/<subfolder> (system/
// for the defaults, Pattern/ for the player's own set).
void InstallDefaultPatterns(const QString& programFolder, const QString& subfolder);

// Paints a counter the way the game shows it into `screen` at `origin`:
// digits of `area`'s default patterns side by side, then the delimiter.
void PaintCounter(QImage& screen, QPoint origin, int area, const QString& digits);

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

// The settings the program finds in TmConfig.ini at its start.
void SaveSettings(const QString& programFolder, const Settings& settings);

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest();
  ~ProgramTest() override;

  // The state of a first start: no taught patterns yet.
  void RemovePlayerPatterns();

  // The defaults with changes, written before Start().
  Settings DefaultSettings() const { return Settings::Defaults(folder_.Path()); }
  void UseSettings(const Settings& settings) { SaveSettings(folder_.Path(), settings); }

  // Starts the program (lock, then the load sequence).
  Form1& Start();
  Form1& form() { return *program_.form; }

  // The game window with `level` and `exp` on screen; in front when asked.
  WindowId OpenGame(const QString& level, const QString& exp, bool inFront = true);
  void CloseGame();

  // Run, with the timer's 10-second phase starting now.
  void Run();

  // Moves the clock on by `seconds`, firing the monitoring timer at every
  // 10-second boundary, as the running timer would.
  void RunFor(int seconds);

  // Trace messages without their date and time, in order.
  QStringList TraceMessages() const;
  int CountTrace(const QString& message) const;

  QAction* Action(const char* name);
  QLabel* Label(const QString& name);

  TempFolder folder_;
  FakeClock clock_;
  FakeWindowSystem windows_;
  OpenBoxes boxes_;
  DebugTrace trace_;
  Services services_;
  StartedProgram program_;
  WindowId game_ = 0;
  int pendingSeconds_ = 0;  // time since the last tick
};

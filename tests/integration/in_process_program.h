#pragma once
// Tallymeter started in-process on the X11 backend in a folder of its own,
// with a clock the test moves (unless it runs on the system's) and message
// boxes it reads.

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenuBar>

#include "capture/timing.h"
#include "main_window/startup.h"
#include "persistence/debug_trace.h"
#include "support/fakes.h"
#include "x11_practice_game.h"

// The delivered digits with their colours inverted, in a folder of their
// own: the same shapes, but not one pixel within reach of the defaults.
// Empty when a picture could not be written.
inline QString InvertedPatterns(const TempFolder& folder) {
  const QString changed = folder.File(QStringLiteral("changed"));
  QDir().mkpath(changed);
  for (const QString& name : QDir(BinDir() + "/system").entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
    QImage picture(BinDir() + "/system/" + name);
    picture.invertPixels();
    if (!picture.save(changed + "/" + name, "BMP")) return {};
  }
  return changed;
}

// Chooses `action` (menuRun, menuStop) on the main window's menu bar with
// the real pointer, the window brought forward first.
inline bool ChooseFromMenuBar(QMainWindow& window, const char* action) {
  QMenuBar* bar = window.menuBar();
  QAction* chosen = bar->findChild<QAction*>(QLatin1String(action));
  if (chosen == nullptr || !Activate(window.winId())) return false;
  const QPoint at = bar->mapToGlobal(bar->actionGeometry(chosen).center());
  return Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

template <typename ClockT = FakeClock>
struct InProcessProgram {
  InProcessProgram(WindowSystem& x11, const QString& folder)
      : trace(folder, [this] { return clock.Now(); }),
        services{clock, x11, boxes, trace},
        started(StartProgram(services, folder)) {}
  QString Caption(int area) const {
    return started.form->findChild<QLabel*>(QStringLiteral("lblCapture_%1").arg(area))->text();
  }
  // `seconds` on: the program's timers run on the way, and a reading they
  // began reads out its lag.
  void RunFor(int seconds) {
    clock.AdvanceSeconds(seconds);
    while (started.form->Monitor().Busy()) clock.Advance(100);
  }
  ClockT clock;
  RecordingMessageBoxes boxes;
  DebugTrace trace;
  Services services;
  StartedProgram started;
};

// A test of the program started in-process (Start) in a fresh folder that
// holds the delivered files.
template <typename ClockT = FakeClock>
class InProcessTest : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    InstallPatterns(folder.Path());
  }
  void TearDown() override {
    program.reset();
    X11Test::TearDown();
  }
  // Whether it started (and did not end at once).
  bool Start() {
    program = std::make_unique<InProcessProgram<ClockT>>(*ws, folder.Path());
    return !program->started.ended;
  }
  Form1& form() { return *program->started.form; }
  TempFolder folder;
  std::unique_ptr<InProcessProgram<ClockT>> program;
};

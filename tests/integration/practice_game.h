#pragma once
// What the X11 and the Windows end-to-end tests share: the practice game as
// a child process, waiting with events processed, the sprites the game
// draws its counters with, program folders with the delivered files, and the
// checks every backend must pass against the game.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "capture/capture_area.h"
#include "support/counter_sprite.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

#ifdef _WIN32
// The test programs lie beside PracticeWindow.exe, its DLLs and system/.
inline QString BinDir() { return QCoreApplication::applicationDirPath(); }
inline const QString kPracticeProgram = QStringLiteral("/PracticeWindow.exe");
constexpr int kWaitMs = 20000;  // Wine answers more slowly than an X server
#else
inline QString BinDir() { return QStringLiteral(TALLYMETER_BIN_DIR); }
inline const QString kPracticeProgram = QStringLiteral("/practice_window");
constexpr int kWaitMs = 10000;
#endif

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = kWaitMs) {
  return ProcessEventsUntil(done, timeoutMs);
}

// Kills `process` and sees it end through the event loop. A blocking
// waitForFinished alone is not enough under Wine: the thread-pool callback
// that reports the end can still be on its way when QProcess drops the
// notifier it posts to, and the test crashes after it passed.
inline void EndProcess(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.kill();
  if (!WaitUntil([&] { return process.state() == QProcess::NotRunning; })) process.waitForFinished(kWaitMs);
}

inline QImage CounterSprite(int area, const QString& digits) {
  return CounterSprite(BinDir() + "/system", area, digits);
}

// The practice game showing `level` and `exp`, frozen unless `more` says
// otherwise, ended (and reaped) at End() or when this goes out of scope.
class PracticeGame {
 public:
  PracticeGame(const QString& level, const QString& exp, const QStringList& more = {"--frozen"}) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(BinDir() + kPracticeProgram, QStringList{"--level", level, "--exp", exp} + more);
  }
  ~PracticeGame() { End(); }
  PracticeGame(const PracticeGame&) = delete;
  PracticeGame& operator=(const PracticeGame&) = delete;
  void End() { EndProcess(process_); }

 private:
  QProcess process_;
};

// Shows `window` with `title` (frameless at `geometry` unless that is
// empty); its id once the window system finds it, else 0.
inline WindowId ShowTitled(WindowSystem& ws, QWidget& window, const QString& title, const QRect& geometry = {}) {
  window.setWindowTitle(title);
  if (!geometry.isEmpty()) {
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(geometry);
  }
  window.show();
  WindowId id = 0;
  WaitUntil([&] { return (id = ws.FindWindowByTitle(title)) != 0; });
  return id;
}

// The delivered files in `folder`, as defaults and as the player's set
// taught from them (no first-start message).
inline void InstallPatterns(const QString& folder) {
  for (const QString& subfolder : {QStringLiteral("/system/"), QStringLiteral("/Pattern/")}) {
    QDir().mkpath(folder + subfolder);
    for (const QString& name : QDir(BinDir() + "/system").entryList(QDir::Files)) {
      QFile::copy(BinDir() + "/system/" + name, folder + subfolder + name);
    }
  }
}

// The game `id` (on the primary monitor, showing 1234567890) read at the
// default regions, which count from the outer corner, frame and title bar
// included: one pixel off in any direction no longer matches. Strips through
// the title bar reaching past the desktop's right and left edges are black
// off it.
inline void ExpectTheRegionsFromTheOuterCornerAndBlackOffTheDesktop(WindowSystem& ws, WindowId id) {
  const QImage expSprite = CounterSprite(1, "1234567890");
  EXPECT_TRUE(Shows(CaptureGameArea(ws, id, kExpRegion), expSprite));
  for (const QPoint shift : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
    const CaptureRegion moved{kExpRegion.sx + shift.x(), kExpRegion.sy + shift.y(), 90, 9};
    EXPECT_FALSE(Shows(CaptureGameArea(ws, id, moved), expSprite)) << shift.x() << "," << shift.y();
  }
  const QRect desktop = ws.DesktopLayout().bounds;
  const QRect outer = ws.OuterRect(id).value_or(QRect());
  const int toRight = desktop.right() + 1 - outer.x();
  const QImage wide = CaptureGameArea(ws, id, CaptureRegion{0, 5, toRight + 500, 3});
  const QImage left = CaptureGameArea(ws, id, CaptureRegion{desktop.x() - outer.x() - 50, 5, 60, 3});
  ASSERT_EQ(wide.size(), QSize(toRight + 500, 3));
  ASSERT_EQ(left.size(), QSize(60, 3));
  EXPECT_NE(wide.pixel(outer.width() / 2, 0), qRgb(0, 0, 0));
  for (int x = toRight; x < wide.width(); x += 37) EXPECT_EQ(wide.pixel(x, 1), qRgb(0, 0, 0)) << x;
  for (int x = 0; x < 50; x += 7) EXPECT_EQ(left.pixel(x, 1), qRgb(0, 0, 0)) << x;
}

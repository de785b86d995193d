#pragma once
// Helpers of the Windows tests: the practice game as a child process,
// waiting with events processed, and the sprites it draws its counters with.
// The test programs lie beside PracticeWindow.exe, its DLLs and system/.

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>
#include <functional>

#include "support/counter_sprite.h"
#include "support/wait_until.h"

inline QString BinDir() { return QCoreApplication::applicationDirPath(); }

// Wine answers more slowly than an X server.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  return ProcessEventsUntil(done, timeoutMs);
}

// The practice game with its counters frozen, ended when this goes out of scope.
class PracticeGame {
 public:
  PracticeGame(const QString& level, const QString& exp) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(BinDir() + "/PracticeWindow.exe", {"--frozen", "--level", level, "--exp", exp});
  }
  ~PracticeGame() { End(); }
  void End() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(20000);
  }

 private:
  QProcess process_;
};

inline QImage CounterSprite(int area, const QString& digits) {
  return CounterSprite(BinDir() + "/system", area, digits);
}

// Shows `window` with `title` (frameless at `geometry` unless that is
// empty); its id once the window system finds it, else 0.
template <typename WindowSystemT>
WindowId ShowTitled(WindowSystemT& ws, QWidget& window, const QString& title, const QRect& geometry = {}) {
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

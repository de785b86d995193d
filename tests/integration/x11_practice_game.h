#pragma once
// Helpers of the X11 tests: the practice game as a child process, waiting
// with events processed, and the sprites the game draws its counters with.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QThread>
#include <functional>

#ifndef TALLYMETER_BIN_DIR
#error "TALLYMETER_BIN_DIR must name the build's bin folder"
#endif

// Processes events until `done` holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

// The practice game, ended (and reaped) when this goes out of scope.
class PracticeGame {
 public:
  explicit PracticeGame(const QStringList& arguments) {
    process_.setProgram(QStringLiteral(TALLYMETER_BIN_DIR "/practice_window"));
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
  }
  ~PracticeGame() { End(); }
  PracticeGame(const PracticeGame&) = delete;
  PracticeGame& operator=(const PracticeGame&) = delete;

  bool Started() { return process_.waitForStarted(10000); }
  void End() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(10000);
  }
  // Everything printed so far ("level=<L> exp=<E>" lines).
  QString Output() {
    output_ += QString::fromUtf8(process_.readAllStandardOutput());
    return output_;
  }
  QString Errors() { return QString::fromUtf8(process_.readAllStandardError()); }

 private:
  QProcess process_;
  QString output_;
};

// Runs a command line tool (xdotool) and waits for it.
inline bool RunTool(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

inline bool Activate(quint64 window) {
  return RunTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
}

// The counter `digits` as the game draws it with the default patterns of
// `area`: cells one column narrower than the widest pattern apart, then the
// delimiter. Exactly the pixels the capture must read.
inline QImage CounterSprite(int area, const QString& digits) {
  const QString system = QStringLiteral(TALLYMETER_BIN_DIR "/system");
  std::vector<QImage> cells;
  for (const QChar c : digits) {
    cells.push_back(QImage(QStringLiteral("%1/Pattern%2.bmp").arg(system).arg(area * 10 + c.digitValue(), 2, 10, QLatin1Char('0'))));
  }
  cells.push_back(QImage(QStringLiteral("%1/PatternDel%2.bmp").arg(system).arg(area)));
  int cellWidth = 0, height = 0;
  for (int d = 0; d < 10; ++d) {
    const QImage p(QStringLiteral("%1/Pattern%2.bmp").arg(system).arg(area * 10 + d, 2, 10, QLatin1Char('0')));
    cellWidth = std::max(cellWidth, p.width());
    height = std::max(height, p.height());
  }
  const int pitch = cellWidth - 1;
  QImage sprite(pitch * static_cast<int>(digits.size()) + cells.back().width(), height, QImage::Format_RGB32);
  sprite.fill(Qt::magenta);
  QPainter painter(&sprite);
  for (std::size_t i = 0; i < cells.size(); ++i) painter.drawImage(QPoint(static_cast<int>(i) * pitch, 0), cells[i]);
  return sprite;
}

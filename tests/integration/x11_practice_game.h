#pragma once
// Helpers of the X11 tests: the practice game as a child process, waiting
// with events processed, and the sprites the game draws its counters with.

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <functional>

#include "capture/capture_area.h"
#include "support/wait_until.h"
#include "capture/x11/x11_window_system.h"

inline const QString kGame = QStringLiteral("MapleStory");
inline const QString kBinDir = QStringLiteral(TALLYMETER_BIN_DIR);
inline const CaptureRegion kLevelRegion{35, 576, 44, 13};
inline const CaptureRegion kExpRegion{463, 570, 90, 9};

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  return ProcessEventsUntil(done, timeoutMs);
}

// Runs a command line tool and waits for it.
inline bool RunTool(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The practice game with its counters frozen, ended (and reaped) when this
// goes out of scope.
class PracticeGame {
 public:
  PracticeGame(const QString& level, const QString& exp) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(kBinDir + "/practice_window", {"--frozen", "--level", level, "--exp", exp});
  }
  ~PracticeGame() {
    process_.kill();
    process_.waitForFinished(10000);
  }

 private:
  QProcess process_;
};

// The practice game gaining exactly `gain` every `stepMs` of wall-clock
// time, ended (and reaped) when this goes out of scope.
class GainingGame {
 public:
  GainingGame(std::int32_t level, std::int64_t exp, int stepMs, std::int64_t gain) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(kBinDir + "/practice_window",
                   {"--level", QString::number(level), "--exp", QString::number(exp), "--step-ms",
                    QString::number(stepMs), "--gain", QString::number(gain)});
  }
  ~GainingGame() {
    process_.kill();
    process_.waitForFinished(10000);
  }
  GainingGame(const GainingGame&) = delete;
  GainingGame& operator=(const GainingGame&) = delete;

 private:
  QProcess process_;
};

// The counter `digits` as the game draws it with the patterns of `area` in
// `folder` (the defaults unless told): cells one column narrower than the
// widest digit apart, then the delimiter. Exactly the pixels the capture
// must read.
inline QImage CounterSprite(int area, const QString& digits, const QString& folder = kBinDir + "/system") {
  std::array<QImage, 11> glyphs;  // the ten digits, then the delimiter
  int pitch = 0;
  for (int i = 0; i < 11; ++i) {
    const QString name = i < 10 ? QStringLiteral("Pattern%1%2.bmp").arg(area).arg(i)
                                : QStringLiteral("PatternDel%1.bmp").arg(area);
    glyphs[i] = QImage(folder + "/" + name);
    if (i < 10) pitch = std::max(pitch, glyphs[i].width() - 1);
  }
  const int count = static_cast<int>(digits.size());
  QImage sprite(pitch * count + glyphs[10].width(), glyphs[0].height(), QImage::Format_RGB32);
  sprite.fill(Qt::magenta);
  QPainter painter(&sprite);
  for (int i = 0; i < count; ++i) painter.drawImage(i * pitch, 0, glyphs[digits[i].digitValue()]);
  painter.drawImage(pitch * count, 0, glyphs[10]);
  return sprite;
}

// Whether `picture` begins with exactly the pixels of `sprite`.
inline bool Shows(const QImage& picture, const QImage& sprite) {
  const QImage start = picture.copy(QRect(QPoint(0, 0), sprite.size())).convertToFormat(QImage::Format_RGB32);
  return picture.width() >= sprite.width() && picture.height() >= sprite.height() && start == sprite;
}

// Waits until the game is found, brings it to the front and waits until its
// level reads at the default region (the experience is painted with it); 0
// when it never does.
inline WindowId ShowGame(WindowSystem& ws, const QString& level) {
  WindowId id = 0;
  if (!WaitUntil([&] { return (id = ws.FindWindowByTitle(kGame)) != 0; })) return 0;
  RunTool(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(id)});
  const QImage sprite = CounterSprite(0, level);
  const auto shown = [&] {
    return ws.ForegroundWindow() == id && Shows(CaptureGameArea(ws, id, kLevelRegion), sprite);
  };
  return WaitUntil(shown) ? id : 0;
}

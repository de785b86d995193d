#pragma once
// Helpers of the Windows tests: the practice game as a child process,
// waiting with events processed, and the sprites it draws its counters with.
// The test programs lie beside PracticeWindow.exe, its DLLs and system/.

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <array>
#include <functional>

#include "capture/capture_area.h"
#include "support/wait_until.h"

inline const QString kGame = QStringLiteral("MapleStory");
inline const CaptureRegion kLevelRegion{35, 576, 44, 13};
inline const CaptureRegion kExpRegion{463, 570, 90, 9};

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

// The counter `digits` as the game draws it with the default patterns of
// `area`: cells one column narrower than the widest digit apart, then the
// delimiter.
inline QImage CounterSprite(int area, const QString& digits) {
  std::array<QImage, 11> glyphs;  // the ten digits, then the delimiter
  int pitch = 0;
  for (int i = 0; i < 11; ++i) {
    const QString name = i < 10 ? QStringLiteral("Pattern%1%2.bmp").arg(area).arg(i)
                                : QStringLiteral("PatternDel%1.bmp").arg(area);
    glyphs[static_cast<std::size_t>(i)] = QImage(BinDir() + "/system/" + name);
    if (i < 10) pitch = std::max(pitch, glyphs[static_cast<std::size_t>(i)].width() - 1);
  }
  const int count = static_cast<int>(digits.size());
  QImage sprite(pitch * count + glyphs[10].width(), glyphs[0].height(), QImage::Format_RGB32);
  sprite.fill(Qt::magenta);
  QPainter painter(&sprite);
  for (int i = 0; i < count; ++i) {
    painter.drawImage(i * pitch, 0, glyphs[static_cast<std::size_t>(digits[i].digitValue())]);
  }
  painter.drawImage(pitch * count, 0, glyphs[10]);
  return sprite;
}

// Whether `picture` begins with exactly the pixels of `sprite`.
inline bool Shows(const QImage& picture, const QImage& sprite) {
  if (picture.width() < sprite.width() || picture.height() < sprite.height()) return false;
  return picture.copy(QRect(QPoint(0, 0), sprite.size())).convertToFormat(QImage::Format_RGB32) == sprite;
}

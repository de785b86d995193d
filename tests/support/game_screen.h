#pragma once
// The game as the monitoring tests see it: a program folder holding the
// delivered patterns (as defaults and as the player's set), counters
// painted the way the game shows them, message boxes that let time pass,
// and the trace read back.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include "base/cp932.h"
#include "persistence/settings.h"
#include "support/counter_sprite.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

inline const Notice kGameMissing{"MapleStoryが起動していません", "エラー"};

inline const QString kSystemDir = QStringLiteral(TALLYMETER_SOURCE_DIR "/system");

// The defaults, and the player's own set taught from them; the delivered
// experience table.
inline void InstallPatterns(const TempFolder& folder) {
  for (const QString& subfolder : {QStringLiteral("system"), QStringLiteral("Pattern")}) {
    QDir().mkpath(folder.File(subfolder));
    for (const QString& name : QDir(kSystemDir).entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
      QFile::copy(kSystemDir + "/" + name, folder.File(subfolder + "/" + name));
    }
  }
  QFile::copy(kSystemDir + "/ExpTable.txt", folder.File(QStringLiteral("system/ExpTable.txt")));
}

// Paints a counter the way the game shows it, with `area`'s default patterns,
// on the counter's background wide enough for the whole capture region.
inline void PaintCounter(QImage& screen, QPoint origin, int area, const QString& digits) {
  const QImage sprite = CounterSprite(kSystemDir, area, digits);
  QPainter painter(&screen);
  painter.fillRect(QRect(origin, QSize(120, sprite.height())), QColor(sprite.pixel(0, 0)));
  painter.drawImage(origin, sprite);
}

// The game window (made when `game` is 0) with `level` and `exp` at the
// default capture areas; in front when asked.
inline void ShowCounters(FakeWindowSystem& windows, WindowId& game, const QString& level, const QString& exp,
                         bool inFront) {
  const QRect outer(100, 50, 800, 650);
  if (game == 0) game = windows.Add(QStringLiteral("MapleStory"), outer);
  const auto& regions = Settings::Defaults(QString()).captureRegions;
  PaintCounter(windows.screen, outer.topLeft() + QPoint(regions[0].sx, regions[0].sy), 0, level);
  PaintCounter(windows.screen, outer.topLeft() + QPoint(regions[1].sx, regions[1].sy), 1, exp);
  if (inFront) windows.foreground = game;
}

using OpenBoxes = RecordingMessageBoxes;

// The trace's messages without their date and time, in order.
inline QStringList TraceMessages(const TempFolder& folder) {
  static const QRegularExpression stamp(QStringLiteral("(?m)^\\d{4}/\\d\\d/\\d\\d \\d{1,2}:\\d\\d:\\d\\d"));
  QString text = DecodeCp932(folder.Read(QStringLiteral("debug.txt")));
  return text.remove(stamp).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

#pragma once
// The game as the monitoring tests see it: a program folder holding the
// delivered patterns (as defaults and as the player's set), and counters
// painted the way the game shows them.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <array>

#include "support/temp_folder.h"

inline const QString kSystemDir = QStringLiteral(TALLYMETER_SOURCE_DIR "/system");

// The defaults, and the player's own set taught from them.
inline void InstallPatterns(const TempFolder& folder) {
  for (const QString& subfolder : {QStringLiteral("system"), QStringLiteral("Pattern")}) {
    QDir().mkpath(folder.File(subfolder));
    for (const QString& name : QDir(kSystemDir).entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
      QFile::copy(kSystemDir + "/" + name, folder.File(subfolder + "/" + name));
    }
  }
}

// Paints a counter the way the game shows it: the digits of `area`'s default
// patterns one column closer than the widest pattern, then the delimiter, on
// the counter's background wide enough for the whole capture region.
inline void PaintCounter(QImage& screen, QPoint origin, int area, const QString& digits) {
  std::array<QImage, 11> glyphs;  // the ten digits, then the delimiter
  int pitch = 0;
  for (int i = 0; i < 11; ++i) {
    const QString name = i < 10 ? QStringLiteral("Pattern%1%2.bmp").arg(area).arg(i)
                                : QStringLiteral("PatternDel%1.bmp").arg(area);
    glyphs[static_cast<std::size_t>(i)] = QImage(kSystemDir + "/" + name).convertToFormat(QImage::Format_RGB32);
    pitch = std::max(pitch, glyphs[static_cast<std::size_t>(i)].width() - 1);
  }
  QPainter painter(&screen);
  painter.fillRect(QRect(origin, QSize(120, glyphs[0].height())), QColor(glyphs[0].pixel(0, 0)));
  for (const QChar c : digits) {
    painter.drawImage(origin, glyphs[static_cast<std::size_t>(c.digitValue())]);
    origin.rx() += pitch;
  }
  painter.drawImage(origin, glyphs[10]);
}

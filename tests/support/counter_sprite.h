#pragma once
// The practice game's counters as the end-to-end tests on either backend
// look for them: the default capture regions, and the exact pixels the game
// draws a counter with.

#include <QImage>
#include <QPainter>
#include <QString>
#include <array>

#include "capture/capture_area.h"
#include "persistence/pattern_store.h"

inline const QString kGame = QStringLiteral("MapleStory");
inline const CaptureRegion kLevelRegion{35, 576, 44, 13};
inline const CaptureRegion kExpRegion{463, 570, 90, 9};

// The counter `digits` as the game draws it with the patterns of `area` in
// `folder`: cells one column narrower than the widest digit apart, then the
// delimiter.
inline QImage CounterSprite(const QString& folder, int area, const QString& digits) {
  std::array<QImage, 11> glyphs;  // the ten digits, then the delimiter
  int pitch = 0;
  for (std::size_t i = 0; i < 11; ++i) {
    glyphs[i] = QImage(folder + "/" + PatternFileName(i < 10 ? area * 10 + static_cast<int>(i) : 20 + area));
    if (i < 10) pitch = std::max(pitch, glyphs[i].width() - 1);
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

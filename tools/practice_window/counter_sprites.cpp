#include "counter_sprites.h"

#include <algorithm>

#include "persistence/pattern_store.h"

bool CounterFont::IsComplete() const {
  return !delimiter.isNull() && std::none_of(digits.begin(), digits.end(), [](const QImage& i) { return i.isNull(); });
}

int CounterFont::Pitch() const {
  int width = delimiter.width();
  for (const QImage& d : digits) width = std::max(width, d.width());
  return std::max(width - 1, 1);
}

int CounterFont::Height() const {
  int height = delimiter.height();
  for (const QImage& d : digits) height = std::max(height, d.height());
  return height;
}

CounterFont LoadCounterFont(const QString& folder, int area) {
  CounterFont font;
  const auto load = [&folder](int slot) {
    return QImage(folder + '/' + PatternFileName(slot)).convertToFormat(QImage::Format_RGB32);
  };
  for (int d = 0; d < 10; ++d) font.digits[d] = load(area * 10 + d);
  font.delimiter = load(20 + area);
  return font;
}

int DrawCounter(QPainter& painter, const CounterFont& font, const QPoint& at, const QString& digits,
                const CounterStyle& style) {
  // A box is a frame one column and row around the sprite; the next box
  // begins on this one's right frame.
  const int pitch = style.boxes ? font.Pitch() + 2 : font.Pitch();
  int x = at.x();
  for (const QChar c : digits) {
    const int d = c.digitValue();
    if (d < 0) continue;
    if (style.boxes) {
      painter.save();
      painter.setPen(QColor(150, 150, 170));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(x - 1, at.y() - 1, font.digits[d].width() + 1, font.Height() + 1);
      painter.restore();
    }
    painter.drawImage(QPoint(x, at.y()), font.digits[d]);
    x += pitch;
  }
  if (!style.mark) return x;
  x += style.markGap;
  painter.drawImage(QPoint(x, at.y()), font.delimiter);
  return x + font.delimiter.width();
}

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

int DrawCounter(QPainter& painter, const CounterFont& font, const QPoint& at, const QString& digits) {
  int x = at.x();
  for (const QChar c : digits) {
    const int d = c.digitValue();
    if (d < 0) continue;
    painter.drawImage(QPoint(x, at.y()), font.digits[d]);
    x += font.Pitch();
  }
  painter.drawImage(QPoint(x, at.y()), font.delimiter);
  return x + font.delimiter.width();
}

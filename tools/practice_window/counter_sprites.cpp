#include "counter_sprites.h"

#include <QHash>
#include <algorithm>
#include <vector>

#include "persistence/pattern_store.h"

namespace {

// A separator three columns of ink wide between background columns, its ink
// at the foot of the cell: a point, or with a tail below it a comma.
QImage Separator(const QImage& digit, bool tail) {
  if (digit.isNull()) return {};
  const QRgb background = digit.pixel(0, 0);
  QHash<QRgb, int> counts;
  for (int y = 0; y < digit.height(); ++y) {
    for (int x = 0; x < digit.width(); ++x) ++counts[digit.pixel(x, y)];
  }
  counts.remove(background);
  std::vector<std::pair<int, QRgb>> byCount;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) byCount.emplace_back(it.value(), it.key());
  std::sort(byCount.rbegin(), byCount.rend());
  const QRgb ink = byCount.empty() ? qRgb(255, 255, 255) : byCount[0].second;
  const QRgb shadow = byCount.size() < 2 ? ink : byCount[1].second;

  const int h = digit.height();
  QImage glyph(4, h, QImage::Format_RGB32);
  glyph.fill(background);
  for (int x = 1; x <= 2; ++x) {
    glyph.setPixel(x, h - 4, ink);
    glyph.setPixel(x, h - 3, ink);
    glyph.setPixel(x, h - 2, shadow);
  }
  if (tail) glyph.setPixel(1, h - 1, ink);
  return glyph;
}

}  // namespace

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
  font.comma = Separator(font.digits[8], true);
  font.point = Separator(font.digits[8], false);
  return font;
}

int DrawCounter(QPainter& painter, const CounterFont& font, const QPoint& at, const QString& text) {
  int x = at.x();
  for (const QChar c : text) {
    const QImage* glyph = c == u',' ? &font.comma : c == u'.' ? &font.point : nullptr;
    if (glyph) {
      // Like a digit, it shares its first (background) column with the cell before.
      painter.drawImage(QPoint(x, at.y()), *glyph);
      x += glyph->width() - 1;
      continue;
    }
    const int d = c.digitValue();
    if (d < 0) continue;
    painter.drawImage(QPoint(x, at.y()), font.digits[d]);
    x += font.Pitch();
  }
  painter.drawImage(QPoint(x, at.y()), font.delimiter);
  return x + font.delimiter.width();
}

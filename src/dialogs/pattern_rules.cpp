#include "dialogs/pattern_rules.h"

QImage SlotAfterClick(const QImage& held, const QImage& clipboard) {
  QImage picture = clipboard.isNull() ? held : clipboard.convertToFormat(QImage::Format_RGB32);
  if (!WithinLargestPattern(picture.width(), picture.height())) return {};
  return picture;
}

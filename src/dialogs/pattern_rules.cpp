#include "dialogs/pattern_rules.h"

QImage SlotAfterClick(const QImage& held, const QImage& clipboard) {
  QImage picture = clipboard.isNull() ? held : clipboard.convertToFormat(QImage::Format_RGB32);
  if (picture.width() > kLargestPatternSide || picture.height() > kLargestPatternSide) return {};
  return picture;
}

#include "dialogs/pattern_rules.h"

QImage SlotAfterClick(const QImage& held, const QImage& clipboard) {
  QImage picture = clipboard.isNull() ? held : clipboard.convertToFormat(QImage::Format_RGB32);
  const QSize outer = SlotOuterSize(picture);
  if (outer.width() > kEmptySlotSide || outer.height() > kEmptySlotSide) return {};
  return picture;
}

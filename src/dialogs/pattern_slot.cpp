#include "dialogs/pattern_slot.h"

#include <QMouseEvent>
#include <QPainter>

#include "dialogs/pattern_rules.h"

namespace {
constexpr int kBorder = 2;  // drawn around the picture, not part of it
}

PatternSlot::PatternSlot(QWidget* parent) : QWidget(parent) { SetPicture(QImage()); }

QSize PatternSlot::OuterSize() const { return SlotOuterSize(picture_); }

void PatternSlot::SetPicture(const QImage& picture) {
  picture_ = picture;
  setFixedSize(OuterSize() + QSize(2 * kBorder, 2 * kBorder));
  update();
}

void PatternSlot::SetMarked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  update();
}

void PatternSlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), marked_ ? QColor(220, 40, 40) : palette().color(QPalette::Dark));
  const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
  if (picture_.isNull()) {
    painter.fillRect(inner, palette().color(QPalette::Base));
  } else {
    painter.drawImage(inner.topLeft(), picture_);
  }
}

void PatternSlot::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

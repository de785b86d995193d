#include "dialogs/clickable_label.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A press that is dragged off the label and released elsewhere is no click.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
    event->accept();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

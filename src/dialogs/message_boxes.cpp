#include "dialogs/message_boxes.h"

#include <QMessageBox>

void QtMessageBoxes::Inform(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent_);
  return box.exec() == QMessageBox::Yes;
}

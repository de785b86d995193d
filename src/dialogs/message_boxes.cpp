#include "dialogs/message_boxes.h"

#include <QMessageBox>

QtMessageBoxes::~QtMessageBoxes() { delete warning_.data(); }

void QtMessageBoxes::Inform(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent_);
  return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::Warn(const QString& text, const QString& title) {
  // A window of its own, not the main window's child: a child box is raised
  // with its parent only, and the game in front would hide it.
  if (!warning_) {
    warning_ = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    warning_->setAttribute(Qt::WA_DeleteOnClose);
    warning_->setWindowModality(Qt::NonModal);
    warning_->setWindowFlag(Qt::WindowStaysOnTopHint);
    // Closing the main window still ends the program while it stands.
    warning_->setAttribute(Qt::WA_QuitOnClose, false);
  }
  warning_->setWindowTitle(title);
  warning_->setText(text);
  warning_->show();
  warning_->raise();
  warning_->activateWindow();
}

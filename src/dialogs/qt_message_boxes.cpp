#include "dialogs/qt_message_boxes.h"

#include <QMessageBox>

#include "dialogs/placed_windows.h"

namespace {

// A box placed once it knows its size, which it learns only as it is shown.
class PlacedBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    PlaceBesideOwner(this, parentWidget());
  }
};

}  // namespace

QtMessageBoxes::~QtMessageBoxes() { delete warning_.data(); }

// A box is the child of the window it answers (the one in front, else the
// main window): it stays above that window, not lost behind the game.
void QtMessageBoxes::Inform(const QString& text, const QString& title) {
  PlacedBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_ ? parent_ : OwnerOfNewWindow());
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const QString& text, const QString& title) {
  PlacedBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No,
                parent_ ? parent_ : OwnerOfNewWindow());
  return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::Warn(const QString& text, const QString& title) {
  // A window of its own, not the main window's child: a child box is raised
  // with its parent only, and the game in front would hide it.
  if (!warning_) {
    warning_ = new PlacedBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
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

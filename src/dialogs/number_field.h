#pragma once
// The edit field of the numeric input dialog: takes only the characters a
// number is typed with, selects its whole text whenever it gains the focus,
// and turns Enter into a request to move to the OK button.

#include <QLineEdit>

class NumberField : public QLineEdit {
  Q_OBJECT
 public:
  explicit NumberField(QWidget* parent = nullptr);

 signals:
  void enterPressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
};

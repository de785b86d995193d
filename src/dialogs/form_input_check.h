#pragma once
// The numeric input dialog: asks for one number between two limits.

#include <QDialog>

class MessageBoxes;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr double kInputCancelled = 19999;  // what Cancel and the close box return

class FormInputCheck : public QDialog {
  Q_OBJECT
 public:
  explicit FormInputCheck(MessageBoxes& boxes, QWidget* parent = nullptr);
  // … controls and handlers: see form_input_check.cpp
};

// Opens `dialog` modally, re-initialised from the arguments, and returns the
// accepted number or kInputCancelled. Limits may come in either order.
double InputCheckBox(FormInputCheck& dialog, const QString& min, const QString& max, const QString& ini,
                     const QString& increment, const QString& msg, const QString& title);

#pragma once
// The numeric input dialog: asks for one number between two limits.

#include <QDialog>

#include "dialogs/input_rules.h"

class MessageBoxes;
class NumberField;
class QLabel;
class QPushButton;

inline constexpr double kInputCancelled = 19999;  // what Cancel and the close box return

class FormInputCheck : public QDialog {
  Q_OBJECT
 public:
  explicit FormInputCheck(MessageBoxes& boxes, QWidget* parent = nullptr);

  // Sets the dialog up afresh from the arguments (nothing carries over from
  // an earlier call): limits in either order, the value shown and selected,
  // the step, the prompt and the title ("パラメータ入力" when empty).
  void Prepare(const QString& min, const QString& max, const QString& ini, const QString& increment,
               const QString& msg, const QString& title);

  // The number InputCheckBox returns: the accepted value, or kInputCancelled.
  double EnteredValue() const { return enteredValue_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  bool CharactersValid();
  void StepDownClicked();
  void StepUpClicked();
  void EnterClicked();
  void CancelClicked();
  void BackToField();

  MessageBoxes& boxes_;
  double enteredValue_ = 0;
  InputLimits limits_;
  double stepSize_ = 0;

  NumberField* txtInput_ = nullptr;
  QPushButton* cmdDec_ = nullptr;
  QPushButton* cmdInc_ = nullptr;
  QPushButton* cmdEnter_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QLabel* lblminV_ = nullptr;
  QLabel* lblmaxv_ = nullptr;
  QLabel* lblmsg_ = nullptr;
};

// Opens `dialog` modally, re-initialised from the arguments, and returns the
// accepted number or kInputCancelled. Limits may come in either order.
double InputCheckBox(FormInputCheck& dialog, const QString& min, const QString& max, const QString& ini,
                     const QString& increment, const QString& msg, const QString& title);

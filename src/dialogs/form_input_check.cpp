#include "dialogs/form_input_check.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "monitoring/message_boxes.h"
#include "dialogs/number_field.h"
#include "dialogs/placed_windows.h"
#include "base/number_text.h"

namespace {

// Looked up when shown, not at start-up: the translator is installed later.
QString DefaultTitle() { return QCoreApplication::translate("FormInputCheck", "パラメータ入力"); }
QString ErrorTitle() { return QCoreApplication::translate("FormInputCheck", "入力エラー"); }

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& at) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(at);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& at) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(at);
  // No button is the dialog's default: Enter in the field only moves the
  // focus, and Enter or Space on a focused button presses that button.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

FormInputCheck::FormInputCheck(MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      boxes_(boxes) {
  setObjectName(QStringLiteral("FormInputCheck"));
  setWindowTitle(DefaultTitle());
  setModal(true);
  setFixedSize(312, 107);
  BuildControls();

  connect(cmdDec_, &QPushButton::clicked, this, &FormInputCheck::StepDownClicked);
  connect(cmdInc_, &QPushButton::clicked, this, &FormInputCheck::StepUpClicked);
  connect(cmdEnter_, &QPushButton::clicked, this, &FormInputCheck::EnterClicked);
  connect(cmdCancel_, &QPushButton::clicked, this, &FormInputCheck::CancelClicked);
  connect(txtInput_, &NumberField::enterPressed, this, [this] { cmdEnter_->setFocus(Qt::TabFocusReason); });
}

void FormInputCheck::BuildControls() {
  // Created in tab order: the field comes first.
  txtInput_ = new NumberField(this);
  txtInput_->setObjectName(QStringLiteral("txtInput"));
  txtInput_->setGeometry(36, 8, 160, 25);
  txtInput_->setText(QStringLiteral("0"));
  cmdDec_ = MakeButton(this, "cmdDec", QStringLiteral("<"), QRect(8, 8, 25, 25));
  cmdInc_ = MakeButton(this, "cmdInc", QStringLiteral(">"), QRect(199, 8, 25, 25));
  cmdEnter_ = MakeButton(this, "cmdEnter", tr("決 定"), QRect(232, 6, 72, 27));
  cmdCancel_ = MakeButton(this, "cmdCancel", tr("キャンセル"), QRect(232, 38, 72, 27));
  setTabOrder(txtInput_, cmdDec_);
  setTabOrder(cmdDec_, cmdInc_);
  setTabOrder(cmdInc_, cmdEnter_);
  setTabOrder(cmdEnter_, cmdCancel_);

  MakeLabel(this, "lblmin", tr("最小："), QRect(8, 44, 40, 18));
  lblminV_ = MakeLabel(this, "lblminV", QStringLiteral("000"), QRect(48, 44, 68, 18));
  MakeLabel(this, "lblmax", tr("最大："), QRect(120, 44, 40, 18));
  lblmaxv_ = MakeLabel(this, "lblmaxv", QStringLiteral("000"), QRect(160, 44, 68, 18));
  lblmsg_ = MakeLabel(this, "lblmsg", tr("インプットガイド"), QRect(8, 76, 296, 22));
}

void FormInputCheck::Prepare(const QString& min, const QString& max, const QString& ini, const QString& increment,
                             const QString& msg, const QString& title) {
  limits_ = OrderedLimits(ParseNumber(min), ParseNumber(max));
  enteredValue_ = ParseNumber(ini);
  stepSize_ = std::fabs(ParseNumber(increment));
  lblminV_->setText(NumberText(limits_.lower));
  lblmaxv_->setText(NumberText(limits_.upper));
  lblmsg_->setText(msg);
  setWindowTitle(title.isEmpty() ? DefaultTitle() : title);
  txtInput_->setText(ini);  // the caller's own text, not its parse
  txtInput_->selectAll();
  txtInput_->setFocus(Qt::OtherFocusReason);
}

bool FormInputCheck::CharactersValid() {
  if (HasOnlyNumberCharacters(txtInput_->text())) return true;
  boxes_.Inform(tr("無効文字が含まれています。"), tr("入力チェック"));
  return false;
}

void FormInputCheck::StepDownClicked() {
  if (!CharactersValid()) return;
  enteredValue_ = StepDown(ParseNumber(txtInput_->text()), stepSize_, limits_);
  txtInput_->setText(NumberText(enteredValue_));
}

void FormInputCheck::StepUpClicked() {
  if (!CharactersValid()) return;
  enteredValue_ = StepUp(ParseNumber(txtInput_->text()), stepSize_, limits_);
  txtInput_->setText(NumberText(enteredValue_));
}

void FormInputCheck::EnterClicked() {
  if (!CharactersValid()) return;
  enteredValue_ = ParseNumber(txtInput_->text());
  switch (Judge(enteredValue_, limits_)) {
    case Verdict::BelowLower:
      boxes_.Inform(tr("入力下限を超えています"), ErrorTitle());
      BackToField();
      return;
    case Verdict::AboveUpper:
      boxes_.Inform(tr("入力上限を超えています"), ErrorTitle());
      BackToField();
      return;
    case Verdict::Accepted:
      done(QDialog::Accepted);
      return;
  }
}

void FormInputCheck::CancelClicked() {
  enteredValue_ = kInputCancelled;
  done(QDialog::Rejected);
}

void FormInputCheck::BackToField() {
  txtInput_->setFocus(Qt::OtherFocusReason);
  txtInput_->selectAll();
}

void FormInputCheck::closeEvent(QCloseEvent* event) {
  // Closing is never refused; whatever the field holds, it counts as Cancel.
  enteredValue_ = kInputCancelled;
  QDialog::closeEvent(event);
}

void FormInputCheck::keyPressEvent(QKeyEvent* event) {
  // Without a cancel button Escape means nothing here (QDialog would
  // otherwise take it as a rejection), and Enter presses the focused button,
  // as Space does, instead of a default button the dialog does not have.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

double InputCheckBox(FormInputCheck& dialog, const QString& min, const QString& max, const QString& ini,
                     const QString& increment, const QString& msg, const QString& title) {
  // One question at a time: a second call while the dialog is open (from a
  // handler running inside its wait) must not wipe the open one's state.
  if (dialog.isVisible()) return kInputCancelled;
  dialog.Prepare(min, max, ini, increment, msg, title);
  PlaceBesideOwner(&dialog);
  dialog.exec();
  return dialog.EnteredValue();
}

#include "dialogs/number_field.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "dialogs/input_rules.h"

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {}

void NumberField::keyPressEvent(QKeyEvent* event) {
  const bool withCommand = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
  switch (ClassifyKey(event->key(), event->text(), withCommand)) {
    case KeyAction::Accept:
      QLineEdit::keyPressEvent(event);
      return;
    case KeyAction::FocusConfirm:
      event->accept();  // the dialog must not see it: Enter confirms nothing here
      emit enterPressed();
      return;
    case KeyAction::Discard:
      event->accept();  // swallowed, so it cannot reach the dialog either
      return;
  }
}

void NumberField::inputMethodEvent(QInputMethodEvent* event) {
  // An input method types through here rather than through key presses;
  // its committed text gets the same filter, so full-width digits are lost.
  if (!event->commitString().isEmpty()) {
    event->setCommitString(FilterCommittedText(event->commitString()), event->replacementStart(),
                           event->replacementLength());
  }
  QLineEdit::inputMethodEvent(event);
}

void NumberField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAll();
}

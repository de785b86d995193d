#include "dialogs/input_rules.h"

#include <Qt>

InputLimits OrderedLimits(double first, double second) {
  if (first < second) return {first, second};
  return {second, first};
}

namespace {

bool IsNumberKeyCharacter(QChar c) {
  return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'E' || c == u'e';
}

// Keys that type no character: the field handles them as cursor movement,
// deletion or focus changes, none of which can put a bad character in.
bool IsMovementKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
      return true;
    default:
      return false;
  }
}

}  // namespace

KeyAction ClassifyKey(int key, const QString& text, bool withCommand) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return KeyAction::FocusConfirm;
  if (key == Qt::Key_Backspace) return KeyAction::Accept;  // Ctrl+Backspace too
  if (IsMovementKey(key)) return KeyAction::Accept;
  if (withCommand) return KeyAction::Discard;  // clipboard and other shortcuts
  if (text.size() == 1 && IsNumberKeyCharacter(text.front())) return KeyAction::Accept;
  return KeyAction::Discard;
}

QString FilterCommittedText(const QString& text) {
  QString kept;
  for (const QChar c : text) {
    if (IsNumberKeyCharacter(c)) kept.append(c);
  }
  return kept;
}

bool HasOnlyNumberCharacters(const QString& text) {
  for (const QChar c : text) {
    if (!IsNumberKeyCharacter(c) && c != u' ') return false;
  }
  return true;
}

double StepDown(double value, double step, const InputLimits& limits) {
  const double next = value - step;
  return next < limits.lower ? limits.lower : next;
}

double StepUp(double value, double step, const InputLimits& limits) {
  const double next = value + step;
  return next > limits.upper ? limits.upper : next;
}

Verdict Judge(double value, const InputLimits& limits) {
  if (value < limits.lower) return Verdict::BelowLower;
  if (value > limits.upper) return Verdict::AboveUpper;
  return Verdict::Accepted;
}

#pragma once
// The rules of the numeric input dialog, apart from its window: which keys
// the field takes, which texts may be stepped or confirmed, and how a value
// is stepped and judged against the limits.

#include <QString>

struct InputLimits {
  double lower = 0;
  double upper = 0;
};

// The two limits in whichever order they came.
InputLimits OrderedLimits(double first, double second);

// What a typed character does in the field.
enum class KeyAction { Accept, FocusConfirm, Discard };

// `text` is what the key types (empty for keys that type nothing, such as
// arrows); `key` is the Qt key code; `withCommand` is true when Ctrl, Alt or
// Meta is held. Digits, "-", ".", "E", "e", Backspace and Ctrl+Backspace are
// taken; Enter moves to the OK button; keys that only move the cursor or
// the focus are taken as well, because they type nothing. Everything else,
// including shortcuts such as Ctrl+V, is discarded.
KeyAction ClassifyKey(int key, const QString& text, bool withCommand);

// The characters an input method commits, reduced to those the key filter
// would take (so full-width digits never reach the field).
QString FilterCommittedText(const QString& text);

// True when every character is a digit, a space, "-", ".", "E" or "e": the
// texts the step buttons and OK work on.
bool HasOnlyNumberCharacters(const QString& text);

// One step down, never below the lower limit (no clamp at the upper end).
double StepDown(double value, double step, const InputLimits& limits);
// One step up, never above the upper limit (no clamp at the lower end).
double StepUp(double value, double step, const InputLimits& limits);

enum class Verdict { Accepted, BelowLower, AboveUpper };
// The limits themselves are valid values.
Verdict Judge(double value, const InputLimits& limits);

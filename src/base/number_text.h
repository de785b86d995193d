#pragma once
// The program's one way of reading a number from text and writing one back,
// shared by the numeric input dialog, digit recognition and the history's
// reading of the log files and the sessions file.

#include <QString>
#include <optional>

// A number is an optional sign, digits with at most one ".", and an optional
// exponent (E or e, optional sign, digits); "." is the decimal point in every
// locale. Where it is read from decides the rest.
struct NumberSyntax {
  // The text is the number and nothing else but blanks around it, as a
  // field of a stored file is. Otherwise spaces, tabs and line feeds are
  // skipped wherever they stand and reading stops at the first character
  // that does not fit, as a typed number is read.
  bool wholeText = false;
  bool groupingCommas = false;  // a "," anywhere is dropped first: the text log's "1,234,567"
};

// Nothing when no digit is read, or when the whole text is to be the number
// and is not. A number beyond the range of double (or so small that only 0
// is left of it) is nothing in a whole text; a typed one beyond the range is
// the largest double of its sign, never inf, which no limit check catches.
std::optional<double> ReadNumber(const QString& text, NumberSyntax syntax);

// A typed number: no digit at all gives 0.
double ParseNumber(const QString& text);

// The shortest decimal form with at most 15 significant digits: "." as the
// point, no grouping, no trailing zeros (599, 5.5, -40).
QString NumberText(double value);

// Nearest integer, halves to even (4.5 -> 4, 5.5 -> 6), saturated to the
// 32-bit range.
int RoundToInt32(double value);

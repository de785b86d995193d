#pragma once
// The program's one way of reading a number from text and writing one back,
// shared by the numeric input dialog and digit recognition.

#include <QString>

// Spaces, tabs and line feeds are skipped wherever they stand; then an
// optional sign, digits with at most one ".", an optional exponent (E or e,
// optional sign, digits). Reading stops at the first character that does not
// fit; no digit at all gives 0. "." is the decimal point in every locale.
double ParseNumber(const QString& text);

// The shortest decimal form with at most 15 significant digits: "." as the
// point, no grouping, no trailing zeros (599, 5.5, -40).
QString NumberText(double value);

// Nearest integer, halves to even (4.5 -> 4, 5.5 -> 6), saturated to the
// 32-bit range.
int RoundToInt32(double value);

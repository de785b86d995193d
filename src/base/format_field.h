#pragma once
// The fixed-width column of the log lines and the configuration file: a
// blank, the value right-aligned, and `margin` trailing blanks. Widths count
// Shift_JIS bytes (a Japanese character counts two); a value wider than its
// room is never cut, its margin shrinks instead but keeps one blank.
// Numbers: grouped by three with "," unless `plain`; with `decimals` 0 a
// fraction is rounded to a whole number, halves away from zero (2.5 -> 3,
// -2.5 -> -3), and 0 shows as "0"; fixed-point rounding of decimals works on
// the exact binary value. A result of only zeros carries no "-".

#include <QString>
#include <cstdint>
#include <variant>

using FieldValue = std::variant<std::int64_t, double, bool, QString>;

QString FormatField(const FieldValue& value, int width, int margin, int decimals, bool plain);

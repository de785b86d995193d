#pragma once
// How one value of TmConfig.ini is written and read, shared by the classic
// nine lines and the settings added after them.

#include <QString>
#include <cstdint>
#include <optional>

// field(value, width) of the file layout: FormatField with a trailing gap
// of 1, no decimals, no grouping.
QString IntConfigField(std::int32_t value, int width);
QString FlagConfigField(bool value);  // width 8: "   True " / "  False "

// Blanks around a field are not part of it.
QString TrimConfigBlanks(const QString& text);

// A decimal 32-bit integer (a sign, then digits only); text that is no such
// number gives nothing.
std::optional<std::int32_t> ConfigInteger(const QString& text);

// True or false in any letter case, or a number: zero is off.
std::optional<bool> ConfigFlag(const QString& text);

#include "persistence/config_fields.h"

#include <QRegularExpression>

#include "base/format_field.h"

QString IntConfigField(std::int32_t value, int width) {
  return FormatField(FieldValue{std::int64_t{value}}, width, 1, 0, true);
}

QString FlagConfigField(bool value) { return FormatField(FieldValue{value}, 8, 1, 0, true); }

QString TrimConfigBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  auto blank = [&text](qsizetype i) { return text.at(i) == QChar(' ') || text.at(i) == QChar('\t'); };
  while (begin < end && blank(begin)) ++begin;
  while (end > begin && blank(end - 1)) --end;
  return text.mid(begin, end - begin);
}

std::optional<std::int32_t> ConfigInteger(const QString& text) {
  // toInt alone stops at a NUL byte and takes "4\0 3" for 4.
  static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
  if (!digits.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<bool> ConfigFlag(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
  if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return true;
  if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return false;
  if (number.match(text).hasMatch()) return text.toDouble() != 0.0;
  return std::nullopt;
}

#include "base/format_field.h"

#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <optional>

#ifdef _WIN32
#include "base/cp932.h"
#endif

namespace {

// Inserts "," every three digits into the whole-number part of a plain
// number text ("-1234567.5" -> "-1,234,567.5").
QString GroupDigits(const QString& text) {
  const qsizetype start = text.startsWith(u'-') ? 1 : 0;
  qsizetype end = text.indexOf(u'.');
  if (end < 0) end = text.size();
  QString grouped = text;
  for (qsizetype at = end - 3; at > start; at -= 3) grouped.insert(at, u',');
  return grouped;
}

// A result made only of zeros ("-0.0", "-0") loses its sign: a value too
// small to show is not negative on screen.
QString DropSignOfZero(const QString& text) {
  if (!text.startsWith(u'-')) return text;
  const bool allZero = std::all_of(text.cbegin() + 1, text.cend(), [](QChar c) { return c == u'0' || c == u'.'; });
  return allZero ? text.mid(1) : text;
}

// Whole numbers are shown rounded half away from zero, as the classic
// "#" pattern does; std::round is exact on doubles, and printing the rounded
// double with 'f' gives all its digits, also beyond the 64-bit range.
QString NumberText(double value, int decimals, bool plain) {
  QString text;
  if (decimals >= 1) {
    text = QString::number(value, 'f', decimals);
  } else if (value == 0) {
    return QStringLiteral("0");
  } else {
    text = QString::number(std::round(value), 'f', 0);
  }
  if (!std::isfinite(value)) return text;
  text = DropSignOfZero(text);
  return plain ? text : GroupDigits(text);
}

QString NumberText(std::int64_t value, int decimals, bool plain) {
  if (decimals >= 1) return NumberText(static_cast<double>(value), decimals, plain);
  const QString text = QString::number(value);
  return plain ? text : GroupDigits(text);
}

QString ValueText(const FieldValue& value, int decimals, bool plain) {
  if (const auto* b = std::get_if<bool>(&value)) return *b ? QStringLiteral("True") : QStringLiteral("False");
  if (const auto* t = std::get_if<QString>(&value)) return *t;
  if (const auto* i = std::get_if<std::int64_t>(&value)) return NumberText(*i, decimals, plain);
  return NumberText(std::get<double>(value), decimals, plain);
}

// Column widths are counted in Shift_JIS bytes, so what matters per
// character is how many bytes it takes there.
struct ByteCount {
  qsizetype characters = 0;  // code points
  qsizetype wide = 0;        // code points taking two bytes
};

ByteCount CountBytes(const QString& text) {
  ByteCount count;
#ifndef _WIN32
  std::optional<QStringEncoder> encoder;  // numbers and flags never need one
#endif
  for (qsizetype i = 0; i < text.size(); ++i) {
    ++count.characters;
    const QChar c = text.at(i);
    if (c.unicode() < 0x80) continue;
    qsizetype length = 1;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) length = 2;
#ifdef _WIN32
    const QByteArray bytes = EncodeCp932(text.mid(i, length));
#else
    if (!encoder) encoder.emplace("CP932");
    const QByteArray bytes = encoder->encode(QStringView(text).mid(i, length));
#endif
    if (bytes.size() >= 2) ++count.wide;
    i += length - 1;
  }
  return count;
}

}  // namespace

QString FormatField(const FieldValue& value, int width, int margin, int decimals, bool plain) {
  const QString text = ValueText(value, decimals, plain);
  const ByteCount count = CountBytes(text);
  const qsizetype room = static_cast<qsizetype>(width) - margin;

  // Right-aligned in room - 1 bytes after the leading blank; never cut.
  const qsizetype padding = std::max<qsizetype>(0, room - count.wide - 1 - count.characters);
  const qsizetype columnBytes = 1 + padding + count.characters + count.wide;
  const qsizetype trailing = std::max<qsizetype>(1, margin - std::max<qsizetype>(0, columnBytes - room));

  return QString(1 + padding, u' ') + text + QString(trailing, u' ');
}

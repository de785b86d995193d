#include "history/text_lines.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

#include "base/cp932.h"

namespace {

bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
  if (bytes.size() < static_cast<qsizetype>(mark.size())) return false;
  qsizetype i = 0;
  for (const unsigned char byte : mark) {
    if (static_cast<unsigned char>(bytes[i++]) != byte) return false;
  }
  return true;
}

// Text of digits and Latin letters in UTF-16 has a zero in every other byte;
// Shift_JIS and UTF-8 text never holds a zero byte.
std::optional<QStringConverter::Encoding> Utf16Kind(const QByteArray& bytes) {
  if (StartsWith(bytes, {0xFF, 0xFE})) return QStringConverter::Utf16LE;
  if (StartsWith(bytes, {0xFE, 0xFF})) return QStringConverter::Utf16BE;
  const qsizetype probe = std::min<qsizetype>(bytes.size(), 64) & ~qsizetype{1};
  int evenZeros = 0, oddZeros = 0;
  for (qsizetype i = 0; i < probe; ++i) {
    if (bytes[i] == 0) ++(i % 2 == 0 ? evenZeros : oddZeros);
  }
  if (oddZeros > probe / 4 && evenZeros == 0) return QStringConverter::Utf16LE;
  if (evenZeros > probe / 4 && oddZeros == 0) return QStringConverter::Utf16BE;
  return std::nullopt;
}

QString DecodeLine(const QByteArray& line) {
  bool ascii = true;
  for (const char c : line) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return QString::fromLatin1(line);
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString text = utf8.decode(line);
  return utf8.hasError() ? DecodeCp932(line) : text;
}

QStringList SplitLines(const QString& text) {
  QString unified = text;
  unified.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = unified.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

QStringList DecodedLines(const QByteArray& bytes) {
  if (const auto utf16 = Utf16Kind(bytes)) {
    QStringDecoder decoder(*utf16);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return SplitLines(text);
  }
  QByteArray body = bytes;
  if (StartsWith(body, {0xEF, 0xBB, 0xBF})) body.remove(0, 3);
  QStringList lines;
  qsizetype from = 0;
  while (from < body.size()) {
    qsizetype end = from;
    while (end < body.size() && body[end] != '\n' && body[end] != '\r') ++end;
    lines << DecodeLine(body.mid(from, end - from));
    if (end + 1 < body.size() && body[end] == '\r' && body[end + 1] == '\n') ++end;
    from = end + 1;
  }
  return lines;
}

#include "persistence/config_text_decoding.h"

#include <QStringDecoder>
#include <algorithm>

#include "base/cp932.h"

namespace {

// Labels the program writes on lines 6 and 9; a file that keeps either in
// one reading and not in the other tells its encoding.
bool HoldsLabels(const QString& text) {
  return text.contains(QStringLiteral("時給ファイル保存場所")) || text.contains(QStringLiteral("ラグキャンセル時間"));
}

// A byte the code page cannot decode comes back as a replacement character,
// which never encodes to the same bytes again.
bool FaithfulCp932(const QByteArray& bytes, QString& text) {
  text = DecodeCp932(bytes);
  return EncodeCp932(text) == bytes;
}

// Shift_JIS, field by field (a comma or a line end is never the second byte
// of a character): a field holding bytes that are not Shift_JIS gets a
// replacement character, so that the reader takes it as damaged rather than
// as a text that would be saved back as other bytes.
QString DecodeCp932Fields(const QByteArray& bytes) {
  QString text;
  qsizetype start = 0;
  while (start <= bytes.size()) {
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != ',' && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    const QByteArray field = bytes.mid(start, end - start);
    QString decoded;
    if (!FaithfulCp932(field, decoded)) decoded += QChar(QChar::ReplacementCharacter);
    text += decoded;
    if (end < bytes.size()) text += QChar::fromLatin1(bytes[end]);
    start = end + 1;
  }
  return text;
}

}  // namespace

QString DecodeConfigText(const QByteArray& bytes) {
  const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return QString::fromLatin1(bytes);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString asUtf8 = utf8.decode(bytes);
  if (utf8.hasError()) return DecodeCp932Fields(bytes);
  QString asCp932;
  if (!FaithfulCp932(bytes, asCp932)) return asUtf8;
  return HoldsLabels(asUtf8) && !HoldsLabels(asCp932) ? asUtf8 : asCp932;
}

#include "history/text_lines.h"

#include <QBuffer>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <utility>

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

QString DecodeLine(QByteArrayView line) {
  bool ascii = true;
  for (const char c : line) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return QString::fromLatin1(line);
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString text = utf8.decode(line);
  return utf8.hasError() ? DecodeCp932(line.toByteArray()) : text;
}

// Where the line beginning at `from` ends (its CR or LF); -1 when no line
// end follows yet.
template <typename Text>
qsizetype LineEnd(const Text& text, qsizetype from) {
  for (qsizetype i = from; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') return i;
  }
  return -1;
}

// Where the next line of `text` from `from` lies (its start and length),
// moving `from` past its line end; nothing while the line end is not yet
// known (more may follow: a CR may be the first half of a CR LF).
template <typename Text>
std::optional<std::pair<qsizetype, qsizetype>> CutLine(const Text& text, qsizetype& from, bool atEnd) {
  const qsizetype start = from;
  const qsizetype end = LineEnd(text, from);
  if (end < 0 || (end + 1 == text.size() && text[end] == '\r' && !atEnd)) {
    if (!atEnd || from >= text.size()) return std::nullopt;
    from = text.size();
    return std::pair(start, from - start);
  }
  from = end + 1 + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 1 : 0);
  return std::pair(start, end - start);
}

}  // namespace

QStringList DecodedLines(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  TextLineReader reader(buffer);
  QStringList lines;
  while (std::optional<QString> line = reader.Next()) lines << std::move(*line);
  return lines;
}

TextLineReader::TextLineReader(QIODevice& device, qint64 pieceBytes)
    : device_(device), pieceBytes_(std::max<qint64>(1, pieceBytes)) {}

bool TextLineReader::ReadPiece() {
  if (atEnd_) return false;
  const QByteArray piece = device_.read(pieceBytes_);
  if (piece.isEmpty()) {
    atEnd_ = true;
    return false;
  }
  if (utf16_) {
    text_.remove(0, textFrom_);
    textFrom_ = 0;
    text_ += utf16_->decode(piece);
  } else {
    bytes_.remove(0, bytesFrom_);
    bytesFrom_ = 0;
    bytes_ += piece;
  }
  return true;
}

// What the file is written in shows in its first bytes.
void TextLineReader::Begin() {
  begun_ = true;
  while (bytes_.size() < 64 && ReadPiece()) {
  }
  if (const auto utf16 = Utf16Kind(bytes_)) {
    utf16_.emplace(*utf16);
    text_ = utf16_->decode(bytes_);
    if (text_.startsWith(QChar(0xFEFF))) text_.remove(0, 1);
    bytes_.clear();
  } else if (StartsWith(bytes_, {0xEF, 0xBB, 0xBF})) {
    bytesFrom_ = 3;
  }
}

std::optional<QString> TextLineReader::Next() {
  if (!begun_) Begin();
  return utf16_ ? NextOfText() : NextOfBytes();
}

std::optional<QString> TextLineReader::NextOfBytes() {
  for (;;) {
    if (const auto line = CutLine(bytes_, bytesFrom_, atEnd_)) {
      return DecodeLine(QByteArrayView(bytes_).sliced(line->first, line->second));
    }
    if (!ReadPiece() && bytesFrom_ >= bytes_.size()) return std::nullopt;
  }
}

std::optional<QString> TextLineReader::NextOfText() {
  for (;;) {
    if (const auto line = CutLine(text_, textFrom_, atEnd_)) return text_.mid(line->first, line->second);
    if (!ReadPiece() && textFrom_ >= text_.size()) return std::nullopt;
  }
}

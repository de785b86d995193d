#pragma once
// The lines of a text file this program wrote, or that a player saved again
// from another tool: Shift_JIS as written, but a spreadsheet may have turned
// it into UTF-8 (with or without a byte-order mark) or UTF-16. The numbers
// and dates read the same in all of them; only the Japanese texts need the
// right decoding.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QStringDecoder>
#include <QStringList>
#include <functional>
#include <optional>

// How far a long reading has come; false when it should give up.
using ReadProgress = std::function<bool(qint64 done, qint64 total)>;

// Every line, without its line end (CR LF, LF or a lone CR). A UTF-16 file
// is known by its byte-order mark or its zero bytes; otherwise each line is
// read as UTF-8 when it is valid UTF-8, else as Shift_JIS.
QStringList DecodedLines(const QByteArray& bytes);

// The same lines one at a time, with only a piece of the file in memory: a
// history of years is not held whole, and again as lines, while it is read.
class TextLineReader {
 public:
  explicit TextLineReader(QIODevice& device, qint64 pieceBytes = 64 * 1024);
  // Nothing after the last line.
  std::optional<QString> Next();

 private:
  bool ReadPiece();  // false at the end of the device
  void Begin();
  std::optional<QString> NextOfBytes();
  std::optional<QString> NextOfText();

  QIODevice& device_;
  const qint64 pieceBytes_;
  bool begun_ = false;
  bool atEnd_ = false;
  QByteArray bytes_;  // read, not yet given out as lines
  qsizetype bytesFrom_ = 0;
  std::optional<QStringDecoder> utf16_;  // a UTF-16 file is decoded before it is cut into lines
  QString text_;
  qsizetype textFrom_ = 0;
};

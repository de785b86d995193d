#include "persistence/text_file.h"

#include <QFile>
#include <QFileInfo>

#include "base/cp932.h"

namespace {

const QByteArray kLineEnd("\r\n");

// Writes `bytes` whole and closes the file; a short write, a failed flush or
// an error on close all count as failure.
bool WriteAll(QFile& file, const QByteArray& bytes) {
  const bool written = file.write(bytes) == bytes.size();
  const bool flushed = file.flush();
  file.close();
  return written && flushed && file.error() == QFileDevice::NoError;
}

// Only a plain file (or none yet) is opened: a pipe or a device of that name
// could block the program for ever.
bool PlainOrMissing(const QString& path) {
  const QFileInfo info(path);
  return !info.exists() || info.isFile();
}

bool WriteLine(const QString& path, const QString& text, QIODevice::OpenMode mode) {
  if (!PlainOrMissing(path)) return false;
  QFile file(path);
  if (!file.open(mode)) return false;
  return WriteAll(file, EncodeCp932(text) + kLineEnd);
}

}  // namespace

bool AppendLine(const QString& path, const QString& text) {
  if (!PlainOrMissing(path)) return false;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  const qint64 before = file.size();
  if (WriteAll(file, EncodeCp932(text) + kLineEnd)) return true;
  // Part of the line may have reached the disk before it filled: cut it off
  // again, or the next line written would be glued onto the torn one.
  QFile::resize(path, before);
  return false;
}

bool WriteNewLine(const QString& path, const QString& text) {
  return WriteLine(path, text, QIODevice::WriteOnly | QIODevice::Truncate);
}

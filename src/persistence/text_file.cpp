#include "persistence/text_file.h"

#include <QFile>

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

bool WriteLine(const QString& path, const QString& text, QIODevice::OpenMode mode) {
  QFile file(path);
  if (!file.open(mode)) return false;
  return WriteAll(file, EncodeCp932(text) + kLineEnd);
}

}  // namespace

bool AppendLine(const QString& path, const QString& text) {
  return WriteLine(path, text, QIODevice::WriteOnly | QIODevice::Append);
}

bool WriteNewLine(const QString& path, const QString& text) {
  return WriteLine(path, text, QIODevice::WriteOnly | QIODevice::Truncate);
}

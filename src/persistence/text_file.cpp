#include "persistence/text_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

// On Windows Qt has no CP932 codec of its own; the system's is in
// capture/win32/code_page_932.cpp.
#ifndef _WIN32
QByteArray EncodeCp932(const QString& text) {
  QStringEncoder encoder("CP932");
  return encoder.encode(text);
}

QString DecodeCp932(const QByteArray& bytes) {
  QStringDecoder decoder("CP932");
  return decoder.decode(bytes);
}

bool FitsCp932(const QString& text) {
  // A round trip, not just the encoder's error flag: best-fit mappings
  // (¥ written as a backslash) encode without error but read back as
  // another text.
  QStringEncoder encoder("CP932");
  const QByteArray bytes = encoder.encode(text);
  return !encoder.hasError() && DecodeCp932(bytes) == text;
}
#endif

bool AppendLine(const QString& path, const QString& text) {
  return WriteLine(path, text, QIODevice::WriteOnly | QIODevice::Append);
}

bool WriteNewLine(const QString& path, const QString& text) {
  return WriteLine(path, text, QIODevice::WriteOnly | QIODevice::Truncate);
}

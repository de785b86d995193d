#include "base/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

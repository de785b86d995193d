#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/tallymeter-test-XXXXXX") {}

QByteArray TempFolder::Read(const QString& relative) const {
  QFile f(File(relative));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void TempFolder::Write(const QString& relative, const QByteArray& bytes) const {
  const QString path = File(relative);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

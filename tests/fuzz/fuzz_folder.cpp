#include "fuzz_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

const QString& FuzzFolder() {
  static const std::unique_ptr<QTemporaryDir> dir = [] {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return std::make_unique<QTemporaryDir>(base + QStringLiteral("/tallymeter-fuzz-XXXXXX"));
  }();
  static const QString path = dir->path();
  return path;
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

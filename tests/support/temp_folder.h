#pragma once
// A fresh folder per test, removed afterwards; stands in for the program folder.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

class TempFolder {
 public:
  QString Path() const { return dir_.path(); }
  QString File(const QString& relative) const { return dir_.path() + "/" + relative; }
  QByteArray Read(const QString& relative) const {
    QFile f(File(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void Write(const QString& relative, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(File(relative)).absolutePath());
    QFile f(File(relative));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
  }

 private:
  QTemporaryDir dir_{QDir::tempPath() + "/tallymeter-test-XXXXXX"};
};

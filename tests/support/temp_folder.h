#pragma once
// A fresh folder per test, removed afterwards; stands in for the program folder.

#include <QString>
#include <QTemporaryDir>

class TempFolder {
 public:
  TempFolder();
  QString Path() const { return dir_.path(); }
  QString File(const QString& relative) const { return dir_.path() + "/" + relative; }
  QByteArray Read(const QString& relative) const;
  void Write(const QString& relative, const QByteArray& bytes) const;

 private:
  QTemporaryDir dir_;
};

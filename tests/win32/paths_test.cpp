// Paths as Windows players type and see them: backslashes, drive letters and
// network shares.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "persistence/file_system.h"
#include "support/temp_folder.h"

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

TEST(WindowsPaths, MakeFoldersTakesBackslashesNeverMakesAShareAndNearestFolderAnswersWithTheProgramsDrive) {
  TempFolder tmp;
  for (const QString& path : {Native(tmp.File("A/B/C")), Native(tmp.File("D/E")) + "\\", tmp.File("F") + "\\G/H"}) {
    EXPECT_TRUE(MakeFolders(path) && QFileInfo(path).isDir()) << path.toStdString();
  }
  EXPECT_EQ(QDir(tmp.Path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"A", "D", "F"}));
  // A path that names only a server, or a drive that does not exist: nothing
  // to make, and said so.
  for (const char* path : {R"(\\\server-only)", R"(\\server-only\)", R"(Q:\no\such\drive)"}) {
    EXPECT_FALSE(MakeFolders(QString::fromLatin1(path))) << path;
  }
  EXPECT_TRUE(PathExists(Native(tmp.File("A/B")) + "\\"));

  QDir(tmp.Path()).mkpath("Tools/Meter");
  const QString meter = Native(QFileInfo(tmp.File("Tools/Meter")).canonicalFilePath());
  const QString drive = tmp.Path().left(2);
  const std::pair<QString, QString> nearest[] = {
      {Native(tmp.File("Tools/Meter/missing/deeper")), meter},
      {QStringLiteral("C:\\nothing-here\\"), QStringLiteral("C:\\nothing-here")},  // not looked at
      {QStringLiteral("D:\\"), QStringLiteral("D:")},
      {drive, drive},
      {QStringLiteral("Q:\\no\\such\\drive"), QStringLiteral("Z:")},
  };
  for (const auto& [path, expected] : nearest) {
    EXPECT_EQ(NearestFolder(path, QStringLiteral("Z:/Games/Tallymeter")), expected) << path.toStdString();
  }
}

}  // namespace

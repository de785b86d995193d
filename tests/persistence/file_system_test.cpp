#include "persistence/file_system.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

QStringList Everything(const QString& folder) {
  QStringList all;
  for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    all << info.fileName();
    if (info.isDir()) {
      for (const QString& inner : Everything(info.filePath())) all << info.fileName() + "/" + inner;
    }
  }
  return all;
}

}  // namespace

TEST(MakeFolders, CreatesEveryMissingFolderWithOrWithoutTrailingSlash) {
  TempFolder tmp;
  EXPECT_TRUE(MakeFolders(tmp.File("A/B")));
  EXPECT_TRUE(QFileInfo(tmp.File("A/B")).isDir());
  EXPECT_TRUE(MakeFolders(tmp.File("C/D/")));
  EXPECT_TRUE(QFileInfo(tmp.File("C/D")).isDir());

  tmp.Write("A/B/keep.txt", "kept");
  const QStringList before = Everything(tmp.Path());
  EXPECT_TRUE(MakeFolders(tmp.File("A/B")));
  EXPECT_TRUE(MakeFolders(tmp.File("A/B/")));
  EXPECT_EQ(Everything(tmp.Path()), before);
  EXPECT_EQ(tmp.Read("A/B/keep.txt"), QByteArray("kept"));
  EXPECT_TRUE(MakeFolders(QStringLiteral("/")));
}

TEST(MakeFolders, FailsCleanlyWhereNoFolderCanBe) {
  TempFolder tmp;
  tmp.Write("afile", "x");
  EXPECT_FALSE(MakeFolders(tmp.File("afile/sub/deeper")));
  EXPECT_FALSE(MakeFolders(QStringLiteral("/proc/tallymeter-cannot/sub")));
  EXPECT_EQ(Everything(tmp.Path()), QStringList{"afile"});
  EXPECT_EQ(tmp.Read("afile"), QByteArray("x"));
}

TEST(PathExists, ThreeLetterExtensionNamesAFileEverythingElseAFolder) {
  TempFolder tmp;
  tmp.Write("TmConfig.ini", "x");
  tmp.Write("data.json", "x");
  tmp.Write("noext", "x");
  QDir(tmp.Path()).mkpath("log");
  QDir(tmp.Path()).mkpath("odd.dir");

  EXPECT_TRUE(PathExists(tmp.File("TmConfig.ini")));
  EXPECT_FALSE(PathExists(tmp.File("Missing.ini")));
  EXPECT_TRUE(PathExists(tmp.File("log")));
  EXPECT_TRUE(PathExists(tmp.File("log/")));
  EXPECT_TRUE(PathExists(tmp.Path()));
  EXPECT_TRUE(PathExists(QStringLiteral("/")));
  // A four-letter extension names a folder, so an existing file is not found;
  // a name without extension is a folder too.
  EXPECT_FALSE(PathExists(tmp.File("data.json")));
  EXPECT_FALSE(PathExists(tmp.File("noext")));
  // ...and a folder that looks like a file name is looked for as a file.
  EXPECT_FALSE(PathExists(tmp.File("odd.dir")));
  EXPECT_FALSE(PathExists(QString()));
  // "name.*" asks for a file of that name with any extension.
  EXPECT_TRUE(PathExists(tmp.File("TmConfig.*")));
  EXPECT_TRUE(PathExists(tmp.File("data.*")));
  EXPECT_FALSE(PathExists(tmp.File("log.*")));
  EXPECT_FALSE(PathExists(tmp.File("nothing/x.*")));
}

TEST(NearestFolder, TrailingSlashIsDroppedUnchecked) {
  TempFolder tmp;
  EXPECT_EQ(NearestFolder(tmp.File("nothing-here/"), tmp.Path()), tmp.File("nothing-here"));
  EXPECT_EQ(NearestFolder(QStringLiteral("/nothing-here/"), tmp.Path()), QStringLiteral("/nothing-here"));
  EXPECT_EQ(NearestFolder(QStringLiteral("/"), tmp.Path()), QStringLiteral("/"));
}

TEST(NearestFolder, FallsBackToTheLongestExistingFolderThenTheRoot) {
  TempFolder tmp;
  QDir(tmp.Path()).mkpath("Tools/Meter");
  tmp.Write("afile", "x");
  // Whatever the length's parity, the cut reaches "Meter" or "Meter/".
  EXPECT_EQ(NearestFolder(tmp.File("Tools/Meter/missing/deeper"), tmp.Path()), Canonical(tmp.File("Tools/Meter")));
  EXPECT_EQ(NearestFolder(tmp.File("Tools/Meter/missing/deepe"), tmp.Path()), Canonical(tmp.File("Tools/Meter")));
  EXPECT_EQ(NearestFolder(tmp.File("Tools/Meter"), tmp.Path()), Canonical(tmp.File("Tools/Meter")));
  // Spelled the way the file system does: no doubled or dotted parts.
  EXPECT_EQ(NearestFolder(tmp.File("Tools//./Meter"), tmp.Path()), Canonical(tmp.File("Tools/Meter")));
  // A file is no folder to keep logs in.
  EXPECT_EQ(NearestFolder(tmp.File("afile"), tmp.Path()), Canonical(tmp.Path()));
  EXPECT_EQ(NearestFolder(QString(), tmp.Path()), QStringLiteral("/"));
  EXPECT_EQ(NearestFolder(QStringLiteral("nothing-relative-x9"), tmp.Path()), QStringLiteral("/"));
}

// Paths as Windows players type and see them: backslashes, drive letters,
// network shares, and the program folder's default log folder.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "persistence/config_file.h"
#include "persistence/file_system.h"
#include "persistence/settings.h"
#include "base/cp932.h"
#include "support/temp_folder.h"

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

TEST(WindowsPaths, MakeFoldersTakesBackslashesAndNeverMakesAShare) {
  TempFolder tmp;
  for (const QString& path : {Native(tmp.File("A/B/C")), Native(tmp.File("D/E")) + "\\", tmp.File("F") + "\\G/H"}) {
    EXPECT_TRUE(MakeFolders(path)) << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
  }
  EXPECT_EQ(QDir(tmp.Path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"A", "D", "F"}));
  // A path that names only a server, or a drive that does not exist: nothing
  // to make, and said so.
  EXPECT_FALSE(MakeFolders(QStringLiteral("\\\\\\server-only")));
  EXPECT_FALSE(MakeFolders(QStringLiteral("\\\\server-only\\")));
  EXPECT_FALSE(MakeFolders(QStringLiteral("Q:\\no\\such\\drive")));
  EXPECT_TRUE(PathExists(Native(tmp.File("A/B")) + "\\"));
}

TEST(WindowsPaths, NearestFolderAnswersWithBackslashesAndTheProgramsDrive) {
  TempFolder tmp;
  QDir(tmp.Path()).mkpath("Tools/Meter");
  const QString meter = Native(QFileInfo(tmp.File("Tools/Meter")).canonicalFilePath());
  const QString drive = tmp.Path().left(2);
  const std::pair<QString, QString> nearest[] = {
      {Native(tmp.File("Tools/Meter/missing/deeper")), meter},
      {tmp.File("Tools/Meter/missing/deepe"), meter},
      {QStringLiteral("C:\\nothing-here\\"), QStringLiteral("C:\\nothing-here")},  // not looked at
      {QStringLiteral("D:\\"), QStringLiteral("D:")},
      {drive, drive},
      {QString(), QStringLiteral("Z:")},
      {QStringLiteral("Q:\\no\\such\\drive"), QStringLiteral("Z:")},
  };
  for (const auto& [path, expected] : nearest) {
    EXPECT_EQ(NearestFolder(path, QStringLiteral("Z:/Games/Tallymeter")), expected) << path.toStdString();
  }
}

TEST(WindowsPaths, TheDefaultLogFolderIsStoredAsTheSystemWritesIt) {
  TempFolder tmp;
  Settings settings = Settings::Defaults(tmp.Path());
  EXPECT_EQ(settings.saveFolder, Native(tmp.Path()));
  EXPECT_TRUE(settings.saveFolder.contains(u'\\'));
  ASSERT_EQ(ConfigFile(QStringLiteral("SAVE"), settings, tmp.Path()), std::nullopt);
  EXPECT_TRUE(tmp.Read("TmConfig.ini").contains(EncodeCp932(Native(tmp.Path()) + " , ")));
  Settings read;
  ASSERT_EQ(ConfigFile(QStringLiteral("READ"), read, tmp.Path()), std::nullopt);
  EXPECT_EQ(read, settings);
}

}  // namespace

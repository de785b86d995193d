#include "persistence/file_system.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

TEST(FileSystem, MakeFoldersCreatesWhatIsMissingWithOrWithoutTrailingSlashAndNothingElse) {
  TempFolder tmp;
  for (const char* path : {"A/B", "C/D/", "A/B", "C/D/"}) {
    EXPECT_TRUE(MakeFolders(tmp.File(path)) && QFileInfo(tmp.File(path)).isDir()) << path;
  }
  // The second round found everything in place and made nothing more.
  EXPECT_EQ(QDir(tmp.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"A", "C"}));
  EXPECT_TRUE(QDir(tmp.File("C/D")).isEmpty());
}

TEST(FileSystem, PathExistsTakesAThreeLetterExtensionForAFileAndNearestFolderFallsBack) {
  TempFolder tmp;
  tmp.Write("TmConfig.ini", "x");
  tmp.Write("data.json", "x");
  QDir(tmp.Path()).mkpath("Tools/Meter");
  // Anything but a three-letter extension names a folder.
  const std::pair<const char*, bool> exists[] = {
      {"TmConfig.ini", true}, {"Missing.ini", false}, {"Tools", true},
      {"Tools/", true},       {"data.json", false},   {"TmConfig.*", true},
  };
  for (const auto& [path, expected] : exists) EXPECT_EQ(PathExists(tmp.File(path)), expected) << path;

  // Folders come back as the system writes them.
  const QString meter = QDir::toNativeSeparators(QFileInfo(tmp.File("Tools/Meter")).canonicalFilePath());
  const std::pair<QString, QString> nearest[] = {
      {tmp.File("Tools/Meter/missing/deeper"), meter},
      {tmp.File("Tools/Meter/missing/deepe"), meter},  // either parity of the length
      // The trailing "/" is dropped without a look at the disk.
      {tmp.File("nothing-here/"), QDir::toNativeSeparators(tmp.File("nothing-here"))},
#ifdef _WIN32
      {"", tmp.Path().left(2)},  // the drive of the program folder
#else
      // Nothing to go on: the program folder, not the root ("//log/").
      {"", tmp.Path()},
      {"ab", tmp.Path()},
#endif
  };
  for (const auto& [path, expected] : nearest) {
    EXPECT_EQ(NearestFolder(path, tmp.Path()), expected) << path.toStdString();
  }
}

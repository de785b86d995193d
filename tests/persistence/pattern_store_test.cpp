// The READ, INIT, SAVE, DATA chain of the pattern files.
#include "pattern_files_fixture.h"

namespace {

using namespace pattern_files_fixture;

const Notice kReadFailed{QStringLiteral("パターンファイルが読み込めません。\r\nデフォルトパターンで初期化します。\r\n"),
                         QStringLiteral("パターン読込みエラー")};
const Notice kInitFailed{QStringLiteral("デフォルトパターンファイルが読み込めません。\r\n終了します。\r\n"),
                         QStringLiteral("パターン初期化エラー")};
const Notice kSaveFailed{QStringLiteral("パターンファイルを保存できませんでした。"), QStringLiteral("パターン書込みエラー")};
const Notice kDataFailed{QStringLiteral("パターンファイルのデータ化に失敗しました。\r\n終了します。\r\n"),
                         QStringLiteral("パターン読込みエラー")};

using PatternStore = PatternFilesTest;

TEST_F(PatternStore, FirstRunWritesTheDefaultsOnceAndBuildsTheSet) {
  const PatternFilesResult r = Run("READ");
  EXPECT_EQ(r.notices, std::vector<Notice>{kReadFailed});
  EXPECT_FALSE(r.endProgram);
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(slot)), DefaultPicture(slot))) << slot;
  }
  EXPECT_TRUE(BackupFolders().isEmpty());  // there was nothing of the player's to keep
  EXPECT_EQ(set.digitPatterns[8].width, 7);
  EXPECT_EQ(set.cellWidth[0], 7);
  EXPECT_EQ(set.cellHeight[1], 7);

  // The next start reads them without a word.
  images = {};
  EXPECT_TRUE(Run("READ").notices.empty());
  EXPECT_TRUE(SamePixels(images.delimiters[1], DefaultPicture(21)));
}

TEST_F(PatternStore, ThePlayersFilesAreReadAndLeftAlone) {
  WritePlayerFiles();
  const QDateTime written = QFileInfo(PlayerFile(3)).lastModified();
  const PatternFilesResult r = Run("READ");
  EXPECT_TRUE(r.notices.empty());
  EXPECT_FALSE(r.endProgram);
  for (int slot = 0; slot < 20; ++slot) EXPECT_TRUE(SamePixels(images.digits[slot], PlayerPicture(slot))) << slot;
  EXPECT_EQ(set.cellWidth[1], 6);
  EXPECT_EQ(set.cellHeight[0], 8);
  EXPECT_EQ(QFileInfo(PlayerFile(3)).lastModified(), written);
  EXPECT_TRUE(BackupFolders().isEmpty());
}

TEST_F(PatternStore, OneMissingFileBringsTheDefaultsButKeepsThePlayersOtherFiles) {
  WritePlayerFiles();
  const QByteArray kept = folder.Read("Pattern/" + PatternFileName(12));
  QFile::remove(PlayerFile(7));
  const PatternFilesResult r = Run("READ");
  EXPECT_EQ(r.notices, std::vector<Notice>{kReadFailed});
  EXPECT_FALSE(r.endProgram);
  EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(12)), DefaultPicture(12)));
  EXPECT_TRUE(SamePixels(images.digits[7], DefaultPicture(7)));
  EXPECT_EQ(set.cellWidth[0], 7);

  ASSERT_EQ(BackupFolders(), QStringList{"backup-20261205-143000"});
  const QDir backup(folder.File("Pattern/backup-20261205-143000"));
  EXPECT_EQ(backup.entryList(QDir::Files).size(), 21);
  EXPECT_FALSE(backup.exists(PatternFileName(7)));
  EXPECT_EQ(folder.Read("Pattern/backup-20261205-143000/" + PatternFileName(12)), kept);

  // An initialisation asked for keeps the player's files too, a second one
  // within the same second in a folder of its own.
  EXPECT_TRUE(Run("INIT").notices.empty());
  EXPECT_EQ(BackupFolders(), (QStringList{"backup-20261205-143000", "backup-20261205-143000-2"}));
}

TEST_F(PatternStore, AMissingDefaultEndsTheProgramAndWritesNothing) {
  QFile::remove(SystemFile(21));
  PatternFilesResult r = Run("READ");
  EXPECT_EQ(r.notices, (std::vector<Notice>{kReadFailed, kInitFailed}));
  EXPECT_TRUE(r.endProgram);
  EXPECT_FALSE(QFileInfo::exists(folder.File("Pattern")));

  // The player's files, one of them missing, stay exactly as they were.
  WritePlayerFiles();
  QFile::remove(PlayerFile(0));
  r = Run("READ");
  EXPECT_TRUE(r.endProgram);
  EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(5)), PlayerPicture(5)));
  EXPECT_TRUE(BackupFolders().isEmpty());
  EXPECT_EQ(Run("INIT").notices, std::vector<Notice>{kInitFailed});
}

TEST_F(PatternStore, AnUnwritablePatternFolderIsReportedAndTheDefaultsAreUsedFromMemory) {
  folder.Write("Pattern", "not a folder");  // so no folder of that name can be made
  const PatternFilesResult r = Run("READ");
  EXPECT_EQ(r.notices, (std::vector<Notice>{kReadFailed, kSaveFailed}));
  EXPECT_FALSE(r.endProgram);
  EXPECT_EQ(set.cellWidth[0], 7);  // DATA still ran
  EXPECT_TRUE(SamePixels(images.digits[4], DefaultPicture(4)));
  EXPECT_EQ(folder.Read("Pattern"), "not a folder");
}

TEST_F(PatternStore, PicturesUpTo41By41AreTakenAndLargerOnesRefused) {
  WritePlayerFiles();
  ASSERT_TRUE(Picture(41, 41, 3).save(PlayerFile(20), "BMP"));
  EXPECT_TRUE(Run("READ").notices.empty());
  EXPECT_EQ(set.cellWidth[0], 41);
  EXPECT_EQ(set.cellHeight[0], 41);

  // Too large in Pattern/: read as unreadable, the defaults come, the file
  // is kept in the backup.
  const QImage tooWide = Picture(42, 41, 3);
  ASSERT_TRUE(tooWide.save(PlayerFile(20), "BMP"));
  PatternFilesResult r = Run("READ");
  EXPECT_EQ(r.notices, std::vector<Notice>{kReadFailed});
  EXPECT_FALSE(r.endProgram);
  EXPECT_EQ(set.cellWidth[0], 7);
  EXPECT_TRUE(SamePixels(LoadFile(folder.File("Pattern/backup-20261205-143000/PatternDel0.bmp")), tooWide));

  // Too large in system/: the defaults cannot be used; nothing is written.
  ASSERT_TRUE(Picture(41, 42, 3).save(SystemFile(9), "BMP"));
  QFile::remove(PlayerFile(0));
  const QByteArray before = folder.Read("Pattern/" + PatternFileName(1));
  r = Run("READ");
  EXPECT_EQ(r.notices, (std::vector<Notice>{kReadFailed, kInitFailed}));
  EXPECT_TRUE(r.endProgram);
  EXPECT_EQ(folder.Read("Pattern/" + PatternFileName(1)), before);
}

// A bitmap header claiming `width` x `height` at 24 bits, with no pixels.
QByteArray BitmapHeader(int width, int height) {
  QByteArray b(54, '\0');
  const auto put = [&b](int at, quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, 54, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<quint32>(width), 4);
  put(22, static_cast<quint32>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  return b;
}

TEST_F(PatternStore, DamagedOrHugeFilesCountAsUnreadable) {
  for (const QByteArray& damaged : {QByteArray("BM not a bitmap"), BitmapHeader(60000, 60000), QByteArray()}) {
    WritePlayerFiles();
    folder.Write("Pattern/" + PatternFileName(3), damaged);
    const PatternFilesResult r = Run("READ");
    EXPECT_EQ(r.notices, std::vector<Notice>{kReadFailed});
    EXPECT_FALSE(r.endProgram);
    EXPECT_TRUE(SamePixels(images.digits[3], DefaultPicture(3)));
    EXPECT_EQ(folder.Read("Pattern/backup-20261205-143000/" + PatternFileName(3)), damaged);
    QDir(folder.File("Pattern/backup-20261205-143000")).removeRecursively();
  }
}

TEST_F(PatternStore, SaveWritesTheHeldPicturesAndConvertsThem) {
  WritePlayerFiles();
  ASSERT_TRUE(Run("READ").notices.empty());
  images.digits[15] = Picture(9, 8, 55);
  const PatternFilesResult r = Run("SAVE");
  EXPECT_TRUE(r.notices.empty());
  EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(15)), images.digits[15]));
  EXPECT_EQ(set.cellWidth[1], 9);
  EXPECT_TRUE(BackupFolders().isEmpty());  // the player's own save replaces nothing unasked

  // A picture that cannot be written is reported; the rest are written.
  images.digits[16] = QImage();
  images.digits[17] = Picture(4, 4, 1);
  EXPECT_EQ(Run("SAVE").notices, std::vector<Notice>{kSaveFailed});
  EXPECT_TRUE(SamePixels(LoadFile(PlayerFile(17)), images.digits[17]));
}

TEST_F(PatternStore, DataEndsTheProgramOnAPictureThatDoesNotFit) {
  WritePlayerFiles();
  ASSERT_TRUE(Run("READ").notices.empty());
  images.delimiters[1] = Picture(3, 42, 0);
  const PatternFilesResult r = Run("DATA");
  EXPECT_EQ(r.notices, std::vector<Notice>{kDataFailed});
  EXPECT_TRUE(r.endProgram);
}

TEST_F(PatternStore, ModesAreMatchedExactly) {
  for (const QString mode : {"read", "Read", "READ ", "", "INITIALISE"}) {
    const PatternFilesResult r = Run(mode);
    EXPECT_TRUE(r.notices.empty()) << mode.toStdString();
    EXPECT_FALSE(r.endProgram);
  }
  EXPECT_FALSE(QFileInfo::exists(folder.File("Pattern")));
  EXPECT_EQ(set.cellWidth[0], 0);
  EXPECT_TRUE(images.digits[0].isNull());
}

}  // namespace

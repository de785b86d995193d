// The READ, INIT, SAVE, DATA chain of the pattern files.
#include "persistence/pattern_store.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "support/fifo_watch.h"
#endif
#include "support/temp_folder.h"

namespace {

const Notice kReadFailed{"パターンファイルが読み込めません。\r\nデフォルトパターンで初期化します。\r\n", "パターン読込みエラー"};
const Notice kInitFailed{"デフォルトパターンファイルが読み込めません。\r\n終了します。\r\n", "パターン初期化エラー"};

// Every pixel differs and `tone` sets pictures apart, so one can tell where a picture came from.
QImage Picture(int w, int h, int tone) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) image.setPixel(x, y, qRgb(x * 11 + tone, y * 19 + tone, x * y + tone * 37));
  }
  return image;
}

// The defaults' cells are 7 × 7.
QImage DefaultPicture(int slot) { return Picture(slot < 20 ? 5 + slot % 3 : 4, 7, slot); }

bool SamePixels(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class PatternStore : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(folder.File("system"));
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      ASSERT_TRUE(DefaultPicture(slot).save(folder.File("system/" + PatternFileName(slot)), "BMP"));
    }
  }

  PatternFilesResult Run(const QString& mode) {
    return PatternFiles(mode, images, set, folder.Path(), QDateTime(QDate(2026, 12, 5), QTime(14, 30, 0)));
  }
  // What a READ told, and whether the program must end.
  std::pair<std::vector<Notice>, bool> Read() {
    const PatternFilesResult r = Run("READ");
    return {r.notices, r.endProgram};
  }
  // Whether every file of the player's set holds the defaults' pixels.
  bool PlayersSetIsTheDefaults() const {
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      if (!SamePixels(QImage(folder.File("Pattern/" + PatternFileName(slot))), DefaultPicture(slot))) return false;
    }
    return true;
  }

  TempFolder folder;
  PatternImages images;
  PatternSet set;
};

TEST_F(PatternStore, FirstRunThenThePlayersOwnPicturesThenFilesThatCannotBeUsed) {
  // Modes are matched exactly: a lower-case one does nothing.
  EXPECT_TRUE(Run("read").notices.empty());
  EXPECT_FALSE(QFileInfo::exists(folder.File("Pattern")));

  EXPECT_EQ(Read(), std::pair(std::vector<Notice>{kReadFailed}, false));
  const QDir patterns(folder.File("Pattern"));
  EXPECT_EQ(patterns.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), kPatternSlots + 2);  // and the origins, the layouts
  EXPECT_TRUE(PlayersSetIsTheDefaults());
  EXPECT_EQ(set.cellWidth, (std::array<std::int32_t, 2>{7, 7}));

  // The player's own pictures: odd widths need padded rows, and area 0's
  // widest picture is its delimiter, at the largest width taken.
  for (int i = 0; i < 20; ++i) images.digits[i] = Picture(1 + i % 9, 8, 100 + i);
  images.delimiters = {Picture(40, 8, 120), Picture(3, 8, 121).convertToFormat(QImage::Format_ARGB32)};
  const PatternImages held = images;
  ASSERT_TRUE(Run("SAVE").notices.empty());
  images = {};
  ASSERT_TRUE(Run("READ").notices.empty());
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(SamePixels(images.digits[i], held.digits[i])) << i;
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(SamePixels(images.delimiters[i], held.delimiters[i])) << "delimiter " << i;
  // 24 bits per pixel, as Windows tools expect.
  EXPECT_EQ(folder.Read("Pattern/PatternDel1.bmp")[28], 24);
  EXPECT_EQ(std::pair(set.cellWidth, set.cellHeight), std::pair(std::array{40, 9}, std::array{8, 8}));
  const PixelColor& pixel = set.delimiterPatterns[0].pixels[39][2];
  EXPECT_EQ(qRgb(pixel.red, pixel.green, pixel.blue), held.delimiters[0].pixel(39, 2));

  // One file missing: the defaults come back, the player's other files are kept.
  const QByteArray kept = folder.Read("Pattern/PatternDel0.bmp");
  QFile::remove(patterns.filePath(PatternFileName(7)));
  EXPECT_EQ(Read(), std::pair(std::vector<Notice>{kReadFailed}, false));
  EXPECT_TRUE(SamePixels(images.digits[12], DefaultPicture(12)));
  EXPECT_EQ(QDir(folder.File("Pattern/backup-20261205-143000")).entryList(QDir::Files).size(), 23);  // the layouts too
  EXPECT_EQ(folder.Read("Pattern/backup-20261205-143000/PatternDel0.bmp"), kept);

  // A picture wider than the largest pattern (41, the classic editor's
  // empty slot) is unreadable too; a backup within the same second gets a
  // folder of its own.
  const QImage tooWide = Picture(41, 7, 3);
  ASSERT_TRUE(tooWide.save(patterns.filePath("PatternDel0.bmp"), "BMP"));
  EXPECT_EQ(Read(), std::pair(std::vector<Notice>{kReadFailed}, false));
  EXPECT_EQ(set.cellWidth[0], 7);
  EXPECT_TRUE(SamePixels(QImage(folder.File("Pattern/backup-20261205-143000-2/PatternDel0.bmp")), tooWide));
}

TEST_F(PatternStore, OriginsAreKeptBesideThePatternsAndDefaultsLeftInATaughtAreaTakeNoPart) {
  Run("READ");  // first run: the defaults are installed
  EXPECT_EQ(std::count(images.origins.begin(), images.origins.end(), PatternOrigin::Delivered), kPatternSlots);
  images.digits[3] = Picture(9, 7, 50);
  images.origins[3] = PatternOrigin::Captured;
  images.origins[13] = PatternOrigin::Pasted;
  ASSERT_TRUE(Run("SAVE").notices.empty());
  // Area 1 was only pasted into: all of it still takes part.
  EXPECT_EQ(set.cellWidth, (std::array<std::int32_t, 2>{9, 7}));
  EXPECT_EQ(set.digitPatterns[4].width, 0);
  EXPECT_EQ(set.taughtFromCaptures, (std::array<bool, 2>{true, false}));
  EXPECT_TRUE(folder.Read("Pattern/PatternOrigin.txt").contains("Pattern03.bmp , capture\r\nPattern04.bmp , default\r\n"));

  const auto origins = images.origins;
  images = {};
  ASSERT_TRUE(Run("READ").notices.empty());
  EXPECT_EQ(images.origins, origins);
  EXPECT_EQ(set.digitPatterns[4].width, 0);
  // An install older than the record: every pattern counts, as it always did.
  QFile::remove(folder.File("Pattern/PatternOrigin.txt"));
  ASSERT_TRUE(Run("READ").notices.empty());
  EXPECT_EQ(images.origins, (std::array<PatternOrigin, kPatternSlots>{}));
  EXPECT_EQ(set.digitPatterns[4].width, 5 + 4 % 3);
  EXPECT_EQ(set.taughtFromCaptures, (std::array<bool, 2>{false, false}));
}

// Variants are kept beside their digit's file, read back only as tall as
// it and a few columns wider or narrower at most (the glyph at another
// fraction of a pixel), and gone from the files once the digit has fewer.
TEST_F(PatternStore, VariantsAreKeptBesideTheirDigitAndOnlyWhereTheyFitIt) {
  Run("READ");
  images.variants[3] = {Picture(5 + 3 % 3, 7, 60), Picture(5 + 3 % 3, 7, 61)};
  images.variants[4] = {Picture(5 + 4 % 3 + 2, 7, 63)};  // two columns wider: it fits
  images.variants[5] = {Picture(2, 7, 62)};              // far narrower than the 5
  images.variants[6] = {Picture(5 + 6 % 3, 6, 64)};      // not as tall as the 6
  ASSERT_TRUE(Run("SAVE").notices.empty());
  EXPECT_EQ(set.variants[3].size(), 2u);
  ASSERT_EQ(set.variants[4].size(), 1u);
  EXPECT_EQ(set.variants[4].front().width, 8);
  EXPECT_TRUE(set.variants[5].empty());
  EXPECT_TRUE(set.variants[6].empty());
  EXPECT_TRUE(QFileInfo::exists(folder.File("Pattern/Pattern03v2.bmp")));

  images = {};
  ASSERT_TRUE(Run("READ").notices.empty());
  ASSERT_EQ(images.variants[3].size(), 2u);
  EXPECT_TRUE(SamePixels(images.variants[3][1], Picture(5, 7, 61)));
  ASSERT_EQ(images.variants[4].size(), 1u);
  EXPECT_TRUE(SamePixels(images.variants[4][0], Picture(8, 7, 63)));
  EXPECT_TRUE(images.variants[5].empty()) << "a file that does not fit its digit's is left out";
  EXPECT_TRUE(images.variants[6].empty());
  images.variants[3].pop_back();
  ASSERT_TRUE(Run("SAVE").notices.empty());
  EXPECT_FALSE(QFileInfo::exists(folder.File("Pattern/Pattern03v2.bmp")));
  // A damaged variant file costs that variant, never the set.
  folder.Write("Pattern/Pattern03v1.bmp", "BM not a picture");
  images = {};
  ASSERT_TRUE(Run("READ").notices.empty());
  EXPECT_TRUE(images.variants[3].empty());
  EXPECT_TRUE(SamePixels(images.digits[3], DefaultPicture(3)));
}

// The layout file gained its last field later: a file without it, or with
// a value no capture could give, still reads, as having seen no text.
TEST_F(PatternStore, ALayoutKeepsTheGapBeforeTextAndAnOlderLayoutLineStillReads) {
  Run("READ");
  AreaLayout& layout = images.layouts[0];
  layout.learned = true;
  layout.digitGap = 2;
  layout.textGap = 17;
  ASSERT_TRUE(Run("SAVE").notices.empty());
  images = {};
  ASSERT_TRUE(Run("READ").notices.empty());
  EXPECT_EQ(images.layouts[0].textGap, 17);
  EXPECT_EQ(images.layouts[0].digitGap, 2);

  for (const char* line : {"1 , 0 , 2 ,  , 1\r\n", "1 , 0 , 2 ,  , 1 , -4\r\n", "1 , 0 , 2 ,  , 1 , 99999\r\n"}) {
    folder.Write("Pattern/PatternLayout.txt", line);
    images = {};
    ASSERT_TRUE(Run("READ").notices.empty());
    EXPECT_TRUE(images.layouts[0].learned && images.layouts[0].endsWithDelimiter) << line;
    EXPECT_EQ(images.layouts[0].textGap, 0) << line;
  }
}

TEST_F(PatternStore, DefaultsThatCannotBeUsedOrSavedAreReported) {
  // A missing default, then one taller than 41: the program ends and nothing is written.
  QFile::remove(folder.File("system/PatternDel1.bmp"));
  const auto ended = std::pair(std::vector<Notice>{kReadFailed, kInitFailed}, true);
  EXPECT_EQ(Read(), ended);
  ASSERT_TRUE(DefaultPicture(21).save(folder.File("system/PatternDel1.bmp"), "BMP"));
  ASSERT_TRUE(Picture(41, 42, 3).save(folder.File("system/Pattern09.bmp"), "BMP"));
  EXPECT_EQ(Read(), ended);
  EXPECT_FALSE(QFileInfo::exists(folder.File("Pattern")));

  // Usable defaults that cannot be saved are still turned into the set.
  ASSERT_TRUE(DefaultPicture(9).save(folder.File("system/Pattern09.bmp"), "BMP"));
  folder.Write("Pattern", "not a folder");
  const Notice saveFailed{"パターンファイルを保存できませんでした。", "パターン書込みエラー"};
  EXPECT_EQ(Read(), std::pair((std::vector<Notice>{kReadFailed, saveFailed}), false));
  EXPECT_EQ(set.cellWidth[0], 7);
}

#ifndef _WIN32
TEST_F(PatternStore, APatternOrDefaultThatIsNotAPlainFileIsUnreadableWithoutBeingOpenedOrCopied) {
  ASSERT_FALSE(Run("READ").notices.empty());  // first run: the player's set is written
  // A huge file is moved aside, never copied: a second name for the same file tells a move from a copy.
  const QString huge = folder.File("Pattern/Pattern05.bmp");
  QFile::remove(huge);
  {
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(8LL * 1024 * 1024));  // sparse
  }
  ASSERT_EQ(::link(huge.toLocal8Bit(), folder.File("same-file").toLocal8Bit()), 0);
  EXPECT_EQ(Run("READ").notices, std::vector<Notice>{kReadFailed});
  struct stat kept {}, original {};
  ASSERT_EQ(::stat(folder.File("Pattern/backup-20261205-143000/Pattern05.bmp").toLocal8Bit(), &kept), 0);
  ASSERT_EQ(::stat(folder.File("same-file").toLocal8Bit(), &original), 0);
  EXPECT_EQ(kept.st_ino, original.st_ino);
  EXPECT_TRUE(SamePixels(QImage(huge), DefaultPicture(5)));
  // The player's file a pipe: the defaults come back, and the pipe is kept aside.
  QFile::remove(folder.File("Pattern/Pattern00.bmp"));
  {
    FifoWatch pipe(folder.File("Pattern/Pattern00.bmp"));
    ASSERT_TRUE(pipe.Made());
    EXPECT_EQ(Run("READ").notices, std::vector<Notice>{kReadFailed});
    EXPECT_FALSE(pipe.Opened());
  }
  EXPECT_TRUE(SamePixels(images.digits[0], DefaultPicture(0)));
  // A default that is a pipe: the program ends, without having opened it.
  QFile::remove(folder.File("system/PatternDel0.bmp"));
  QFile::remove(folder.File("Pattern/PatternDel0.bmp"));
  FifoWatch pipe(folder.File("system/PatternDel0.bmp"));
  ASSERT_TRUE(pipe.Made());
  EXPECT_EQ(Run("READ").notices, (std::vector<Notice>{kReadFailed, kInitFailed}));
  EXPECT_FALSE(pipe.Opened());
}
#endif

TEST_F(PatternStore, ADamagedFileOrAnAreaWhosePicturesAreNoSetIsUnreadable) {
  ASSERT_FALSE(Run("READ").notices.empty());  // first run: the player's set is written
  const PatternImages sound = images;
  const struct {
    const char* name;
    int slot;
    int cut;  // bytes cut off the end of the file saved
    QImage picture;
  } cases[] = {
      // Qt still decodes it, with rows it made up.
      {"a file cut short by a few bytes", 5, 8, Picture(6, 7, 77)},
      {"a digit of a height of its own", 11, 0, Picture(5, 5, 11)},
      {"a delimiter of a height of its own", 21, 0, Picture(4, 9, 21)},
      {"two digits alike", 13, 0, DefaultPicture(12)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    images = sound;
    images.digits[12] = DefaultPicture(12);
    (c.slot < 20 ? images.digits[c.slot] : images.delimiters[c.slot - 20]) = c.picture;
    ASSERT_TRUE(Run("SAVE").notices.empty());
    const QString file = "Pattern/" + PatternFileName(c.slot);
    const QByteArray damaged = folder.Read(file).chopped(c.cut);
    folder.Write(file, damaged);
    ASSERT_FALSE(QImage::fromData(damaged, "BMP").isNull());
    EXPECT_EQ(Run("READ").notices, std::vector<Notice>{kReadFailed});
    EXPECT_TRUE(PlayersSetIsTheDefaults());
    // The file is kept in the backup, the defaults written in its place.
    if (c.cut != 0) {
      EXPECT_EQ(folder.Read("Pattern/backup-20261205-143000/" + PatternFileName(c.slot)), damaged);
    }
  }
}

}  // namespace

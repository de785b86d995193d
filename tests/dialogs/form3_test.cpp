#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/clipboard_picture.h"
#include "dialogs/form3.h"
#include "dialogs/pattern_slot.h"

namespace {

const Notice kRegisterAll{QStringLiteral("基準パターンを登録してください。"), QStringLiteral("パターン保存")};

// A picture whose every row has its own colour, so that cut and kept rows
// can be told apart.
QImage Striped(int width, int height, int seed) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(seed * 9 % 256, y * 10 % 256, (x + 1) * 5 % 256));
  }
  return image;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QString DigitFile(int index) { return QStringLiteral("Pattern%1.bmp").arg(index, 2, 10, QChar('0')); }
QString DelimiterFile(int group) { return QStringLiteral("PatternDel%1.bmp").arg(group); }

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() {
    // The delivered defaults: 22 small bitmaps in system/.
    QDir(world.folder.Path()).mkpath("system");
    for (int i = 0; i < 20; ++i) Default(i).save(world.folder.File("system/" + DigitFile(i)), "BMP");
    for (int g = 0; g < 2; ++g) DefaultDelimiter(g).save(world.folder.File("system/" + DelimiterFile(g)), "BMP");
    // The holders as start-up leaves them.
    for (int i = 0; i < 20; ++i) world.state.patternImages.digits[i] = Default(i);
    for (int g = 0; g < 2; ++g) world.state.patternImages.delimiters[g] = DefaultDelimiter(g);
    editor.SetEndProgram([this] { ++ends; });
  }
  static QImage Default(int index) { return Striped(7, 11, 100 + index); }
  static QImage DefaultDelimiter(int group) { return Striped(5, 11, 200 + group); }

  PatternSlot* Slot(int slot) {
    const QString name = slot < 10 ? QStringLiteral("picPattern(%1)").arg(slot) : QStringLiteral("picPatternDL");
    return editor.findChild<PatternSlot*>(name);
  }
  void Paste(int slot, const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
    emit Slot(slot)->clicked();
  }
  void Click(const char* button) { editor.findChild<QPushButton*>(button)->click(); }
  // Eleven pictures of the given height (the delimiter's may differ).
  void FillAll(int height, int delimiterHeight, int seed = 0) {
    for (int d = 0; d < 10; ++d) Paste(d, Striped(6 + d % 3, height, seed + d));
    Paste(10, Striped(4, delimiterHeight, seed + 10));
  }

  DialogWorld world;
  int changes = 0;
  int ends = 0;
  Form3 editor{world.state, world.services, [this] { ++changes; }};
};

TEST_F(EditorTest, OpeningLoadsTheAreasPicturesAndLeavesOthersEmpty) {
  world.state.patternImages.digits[13] = Striped(8, 12, 3);
  world.state.patternImages.delimiters[1] = Striped(3, 12, 4);
  world.state.patternImages.digits[3] = Striped(9, 9, 5);  // area 1's, not shown for area 2
  world.state.patternImages.digits[10] = QImage();         // a holder without a picture
  editor.LoadArea(1);
  EXPECT_EQ(editor.windowTitle(), QStringLiteral("基準画像登録"));
  EXPECT_EQ(editor.findChild<QLabel*>("lblPatternNo")->text(), "2");
  EXPECT_TRUE(SamePixels(Slot(3)->Picture(), Striped(8, 12, 3)));
  EXPECT_TRUE(SamePixels(Slot(10)->Picture(), Striped(3, 12, 4)));
  EXPECT_TRUE(Slot(0)->Picture().isNull());
  EXPECT_EQ(Slot(0)->OuterSize(), QSize(41, 41));
  EXPECT_EQ(Slot(3)->OuterSize(), QSize(8, 12));
}

TEST_F(EditorTest, ASlotTakesTheClipboardPictureUnlessItIsTooLarge) {
  editor.LoadArea(0);
  QImage withAlpha(9, 13, QImage::Format_ARGB32);
  withAlpha.fill(qRgba(10, 20, 30, 255));
  Paste(1, withAlpha);
  EXPECT_EQ(Slot(1)->OuterSize(), QSize(9, 13));
  EXPECT_EQ(Slot(1)->Picture().pixel(4, 4), qRgb(10, 20, 30));
  QGuiApplication::clipboard()->setText("not a picture");
  emit Slot(1)->clicked();
  EXPECT_EQ(Slot(1)->OuterSize(), QSize(9, 13));

  Paste(1, Striped(42, 10, 2));  // one pixel too wide: the slot is empty again
  EXPECT_TRUE(Slot(1)->Picture().isNull());
  EXPECT_EQ(Slot(1)->OuterSize(), QSize(41, 41));
  Paste(2, Striped(10, 42, 2));
  EXPECT_TRUE(Slot(2)->Picture().isNull());
  Paste(2, Striped(41, 40, 2));
  EXPECT_EQ(Slot(2)->OuterSize(), QSize(41, 40));
  EXPECT_TRUE(world.boxes.shown.empty());
}

TEST_F(EditorTest, SaveIsRefusedWithAnEmptySlotAndAcceptedOnceFilled) {
  editor.LoadArea(0);
  for (int d = 0; d < 10; ++d) Paste(d, Striped(6, 12, d));
  Paste(10, Striped(50, 50, 0));  // too large: the delimiter slot is empty again
  Click("cmdSave");
  Paste(10, Striped(41, 41, 0));  // a slot of exactly 41 x 41 counts as empty
  Click("cmdSave");
  EXPECT_EQ(world.boxes.shown, (std::vector<Notice>{kRegisterAll, kRegisterAll}));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[0], Default(0)));
  EXPECT_FALSE(QFile::exists(world.folder.File("Pattern/" + DigitFile(0))));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Saving PatternFiles･･･ ")));
  EXPECT_FALSE(world.TraceText().contains(QStringLiteral(" Saving PatternFiles･･･End ")));
  EXPECT_FALSE(Slot(0)->Picture().isNull());  // the slots keep their pictures

  world.boxes.shown.clear();
  Paste(10, Striped(4, 12, 10));
  Click("cmdSave");
  EXPECT_TRUE(world.boxes.shown.empty());
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[7], Striped(6, 12, 7)));
  EXPECT_TRUE(SamePixels(world.state.patternImages.delimiters[0], Striped(4, 12, 10)));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Saving PatternFiles･･･End ")));
}

TEST_F(EditorTest, AllElevenGetTheAverageHeightRoundedDown) {
  editor.LoadArea(0);
  FillAll(20, 25);
  Paste(0, Striped(6, 18, 0));  // (18 + 9 * 20 + 25) div 11 = 20
  const QImage delimiter = Slot(10)->Picture();
  Click("cmdSave");
  ASSERT_TRUE(world.boxes.shown.empty());
  const QImage stored = world.state.patternImages.delimiters[0];
  EXPECT_EQ(stored.size(), QSize(4, 20));  // its bottom five rows are gone
  EXPECT_TRUE(SamePixels(stored, delimiter.copy(0, 0, 4, 20)));
  EXPECT_EQ(world.state.patternImages.digits[4].size(), QSize(7, 20));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[4], Striped(7, 20, 4)));
  const QImage shorter = world.state.patternImages.digits[0];  // gains black rows at its bottom
  ASSERT_EQ(shorter.size(), QSize(6, 20));
  EXPECT_TRUE(SamePixels(shorter.copy(0, 0, 6, 18), Striped(6, 18, 0)));
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(shorter.pixel(x, 18), qRgb(0, 0, 0));
    EXPECT_EQ(shorter.pixel(x, 19), qRgb(0, 0, 0));
  }
}

TEST_F(EditorTest, Area2GoesToDigits10To19AndDelimiter1) {
  world.state.patternImages.digits[0] = Striped(5, 5, 77);
  editor.LoadArea(1);
  FillAll(9, 9, 30);
  Click("cmdSave");
  for (int d = 0; d < 10; ++d) {
    EXPECT_TRUE(SamePixels(world.state.patternImages.digits[10 + d], Striped(6 + d % 3, 9, 30 + d))) << d;
  }
  EXPECT_TRUE(SamePixels(world.state.patternImages.delimiters[1], Striped(4, 9, 40)));
  EXPECT_TRUE(SamePixels(world.state.patternImages.delimiters[0], DefaultDelimiter(0)));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[0], Striped(5, 5, 77)));
}

TEST_F(EditorTest, SavedFilesLoadBackToTheSamePixelsAndTheSetIsRebuilt) {
  editor.LoadArea(1);
  FillAll(11, 11, 50);
  Click("cmdSave");
  for (int d = 0; d < 10; ++d) {
    const QImage file(world.folder.File("Pattern/" + DigitFile(10 + d)));
    EXPECT_TRUE(SamePixels(file, world.state.patternImages.digits[10 + d])) << d;
  }
  EXPECT_TRUE(SamePixels(QImage(world.folder.File("Pattern/" + DelimiterFile(1))), Striped(4, 11, 60)));
  EXPECT_EQ(world.state.patterns.digitPatterns[12].height, 11);
  EXPECT_EQ(world.state.patterns.cellWidth[1], 8);
}

TEST_F(EditorTest, InitialiseYesRestoresTheDefaultsButNotTheSlots) {
  editor.LoadArea(0);
  FillAll(14, 14);
  world.boxes.answer = true;
  Click("cmdInitial");
  ASSERT_FALSE(world.boxes.shown.empty());
  EXPECT_EQ(world.boxes.shown[0],
            (Notice{QStringLiteral("パターンファイルをデフォルトの状態に初期化します。よろしいですか？"),
                    QStringLiteral("パターンファイル初期化")}));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[3], Default(3)));
  EXPECT_TRUE(SamePixels(world.state.patternImages.delimiters[1], DefaultDelimiter(1)));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Initialize PatternFiles･･･End ")));
  EXPECT_EQ(Slot(3)->OuterSize(), QSize(6, 14));  // the slots still show the editor's pictures

  Click("cmdSave");  // … and a save after it keeps them, not the defaults
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[3], Striped(6, 14, 3)));
  EXPECT_TRUE(SamePixels(QImage(world.folder.File("Pattern/" + DigitFile(3))), Striped(6, 14, 3)));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[13], Default(13)));
}

TEST_F(EditorTest, InitialiseNoChangesNothingButStillTraces) {
  editor.LoadArea(0);
  world.boxes.answer = false;
  world.state.patternImages.digits[0] = Striped(5, 5, 1);
  Click("cmdInitial");
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[0], Striped(5, 5, 1)));
  EXPECT_FALSE(QDir(world.folder.File("Pattern")).exists());
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Initialize PatternFiles･･･End ")));
}

TEST_F(EditorTest, FilesThatCannotBeWrittenAreReportedAndTheEditorCarriesOn) {
  world.folder.Write("Pattern", "a file where the folder should be");
  editor.LoadArea(0);
  FillAll(12, 12);
  Click("cmdSave");
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].title, QStringLiteral("パターン書込みエラー"));
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[1], Striped(7, 12, 1)));  // kept in memory
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ends, 0);
}

TEST_F(EditorTest, MissingDefaultsEndTheProgram) {
  QFile::remove(world.folder.File("system/" + DigitFile(5)));
  editor.LoadArea(0);
  world.boxes.answer = true;
  Click("cmdInitial");
  EXPECT_EQ(ends, 1);
  ASSERT_EQ(world.boxes.shown.size(), 2u);  // the question, then the store's message
  EXPECT_EQ(world.boxes.shown[1].title, QStringLiteral("パターン初期化エラー"));
  EXPECT_EQ(changes, 0);
}

TEST_F(EditorTest, RunsModallyUntilBackWhichStoresNothing) {
  bool wasModal = false;
  WhileModal(editor, [&] {
    wasModal = editor.isModal() && editor.isVisible();
    FillAll(12, 12);
    Click("cmdEnd");
  });
  editor.OpenForArea(0);
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(SamePixels(world.state.patternImages.digits[0], Default(0)));
  EXPECT_FALSE(world.TraceText().contains(QStringLiteral("Saving")));
}

TEST(ClipboardPicture, TakesAnImageOrACopiedImageFileAndNothingElse) {
  TempFolder folder;
  const QImage picture = Striped(6, 8, 1);
  ASSERT_TRUE(picture.save(folder.File("digit.png")));
  folder.Write("notes.txt", "hello");
  const QUrl file = QUrl::fromLocalFile(folder.File("digit.png"));

  QMimeData image;
  image.setImageData(picture);
  EXPECT_TRUE(SamePixels(ClipboardPicture(&image), picture));
  QMimeData uriList;  // as file managers copy files
  uriList.setUrls({QUrl::fromLocalFile(folder.File("notes.txt")), file});
  EXPECT_TRUE(SamePixels(ClipboardPicture(&uriList), picture));
  QMimeData gnome;
  gnome.setData("x-special/gnome-copied-files", ("copy\n" + file.toString()).toUtf8());
  EXPECT_EQ(ClipboardPicture(&gnome).format(), QImage::Format_RGB32);

  QMimeData text;
  text.setText("just words");
  EXPECT_TRUE(ClipboardPicture(&text).isNull());
  QMimeData notAnImage;
  notAnImage.setUrls({QUrl::fromLocalFile(folder.File("notes.txt")), QUrl::fromLocalFile(folder.File("gone.png"))});
  EXPECT_TRUE(ClipboardPicture(&notAnImage).isNull());
  EXPECT_TRUE(ClipboardPicture(nullptr).isNull());
}

}  // namespace

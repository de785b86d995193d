#include <QClipboard>
#include <QFileInfo>

#include "dialog_test_support.h"
#include "dialogs/form3.h"

namespace {

// A picture whose every row has its own colour, so that cut and kept rows
// can be told apart.
QImage Striped(int width, int height, int seed) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(seed * 9 % 256, y * 10 % 256, x * 5 % 256));
  }
  return image;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() { InstallDefaults(world, Default); }
  static QImage Default(int index) { return Striped(7, 11, 100 + index); }
  static QString DigitFile(int index) { return QString::asprintf("Pattern%02d.bmp", index); }

  // Clicking a slot pastes the clipboard's picture; slot 10 is the delimiter.
  void Paste(int slot, const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
    emit SlotOf(editor, slot)->clicked();
  }
  // Ten digits of one height and a delimiter of another.
  void FillAll(int height, int delimiterHeight, int seed) {
    for (int d = 0; d < 10; ++d) Paste(d, Striped(6 + d % 3, height, seed + d));
    Paste(10, Striped(4, delimiterHeight, seed + 10));
  }
  void Click(const char* button) { editor.findChild<QPushButton*>(button)->click(); }

  DialogWorld world;
  PatternImages& held = world.state.patternImages;
  int changes = 0;
  Form3 editor{world.state, world.services, [this] { ++changes; }};
};

// The largest pattern is 40 x 40, as the store takes it: 41 x 41, once
// the empty slot's size and so never registered, empties the slot like any
// larger picture.
TEST_F(EditorTest, SaveIsRefusedWhileASlotIsEmptyOrLargerThanThePatternStoreTakes) {
  editor.LoadArea(0);
  FillAll(12, 12, 0);
  Paste(10, Striped(42, 10, 0));
  Click("cmdSave");
  Paste(10, Striped(41, 41, 0));
  Click("cmdSave");
  const Notice registerAll{QStringLiteral("基準パターンを登録してください。"), QStringLiteral("パターン保存")};
  EXPECT_EQ(world.boxes.shown, (std::vector<Notice>{registerAll, registerAll}));
  Paste(10, Striped(40, 12, 0));
  Click("cmdSave");
  EXPECT_TRUE(SamePixels(held.delimiters[0], Striped(40, 12, 0)));
  EXPECT_EQ(changes, 1);  // once: the refused saves stored nothing
}

// Saved at the average height; Initialise then shows the defaults in the
// slots, so that a save after it keeps them rather than writing the old
// patterns back.
TEST_F(EditorTest, Area2SavedAtTheAverageHeightThenInitialisedToTheDefaults) {
  editor.LoadArea(1);
  FillAll(20, 25, 30);  // (10 * 20 + 25) div 11 = 20
  Click("cmdSave");
  ASSERT_TRUE(world.boxes.shown.empty());
  EXPECT_EQ(changes, 1);
  for (int d = 0; d < 10; ++d) {
    SCOPED_TRACE(d);
    EXPECT_TRUE(SamePixels(held.digits[10 + d], Striped(6 + d % 3, 20, 30 + d)));
    EXPECT_TRUE(SamePixels(QImage(world.folder.File("Pattern/" + DigitFile(10 + d))), held.digits[10 + d]));
    EXPECT_TRUE(SamePixels(held.digits[d], Default(d)));
  }
  // The delimiter loses its bottom five rows, on disk as in memory.
  EXPECT_TRUE(SamePixels(held.delimiters[1], Striped(4, 25, 40).copy(0, 0, 4, 20)));
  EXPECT_TRUE(SamePixels(QImage(world.folder.File("Pattern/PatternDel1.bmp")), held.delimiters[1]));
  EXPECT_TRUE(SamePixels(held.delimiters[0], Default(20)));
  EXPECT_EQ(world.state.patterns.digitPatterns[12].height, 20);  // the recognition set is rebuilt

  editor.LoadArea(1);
  world.boxes.answer = true;
  Click("cmdInitial");
  for (int d = 0; d < 10; ++d) EXPECT_TRUE(SamePixels(SlotOf(editor, d)->Picture(), Default(10 + d))) << d;
  Click("cmdSave");
  EXPECT_TRUE(SamePixels(held.digits[13], Default(13)));
  EXPECT_TRUE(SamePixels(QImage(world.folder.File("Pattern/" + DigitFile(13))), Default(13)));
  EXPECT_TRUE(SamePixels(held.delimiters[1], Default(21)));
}

// A digit's looks are kept through a save, and go when another picture is
// pasted in its slot: they were looks of the picture they were learned beside.
TEST_F(EditorTest, ADigitKeepsItsLooksUntilAnotherPictureIsPastedInItsSlot) {
  editor.LoadArea(0);
  FillAll(12, 12, 0);
  Click("cmdSave");
  held.variants[3] = {Striped(6, 12, 50)};
  held.variants[4] = {Striped(7, 12, 51)};
  editor.LoadArea(0);
  Paste(4, Striped(7, 12, 52));
  Click("cmdSave");
  ASSERT_TRUE(world.boxes.shown.empty());
  ASSERT_EQ(held.variants[3].size(), 1u);
  EXPECT_TRUE(SamePixels(held.variants[3].front(), Striped(6, 12, 50)));
  EXPECT_TRUE(QFileInfo::exists(world.folder.File("Pattern/Pattern03v1.bmp")));
  EXPECT_TRUE(held.variants[4].empty());
}

}  // namespace

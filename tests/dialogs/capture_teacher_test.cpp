// Teaching the pattern editor from a capture: typing the number seen, the
// proposed cells land in the slots as a paste would, the slots still
// waiting (as their origin says) are marked, and a save whose patterns do
// not read the capture back says so, names the likely digit, and keeps the
// editor open.

#include "dialog_test_support.h"
#include "dialogs/capture_teacher.h"
#include "dialogs/form3.h"
#include "support/digit_fonts.h"

namespace {

QImage Plain(int width, int height, int seed) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(seed * 37 % 256, 200, 10));
  return image;
}

class TeachTest : public ::testing::Test {
 protected:
  // Defaults of `defaultHeight` rows, which read nothing of the font.
  void Install(int defaultHeight) {
    InstallDefaults(world, [defaultHeight](int i) { return Plain(7, defaultHeight, i); });
    world.state.patternImages.origins.fill(PatternOrigin::Delivered);  // as a first start installs them
    editor.SetCaptureSource([this](int area) { return captures[area]; });
    editor.LoadArea(0);
  }
  // Opens the teacher, lets `act` work in it, and closes it if still open.
  void InTeacher(const std::function<void(CaptureTeacher&)>& act) {
    InModal<CaptureTeacher>([this] { editor.findChild<QPushButton*>("cmdTeach")->click(); }, act);
  }
  static void Type(CaptureTeacher& teacher, const QString& number) {
    teacher.findChild<QLineEdit*>("txtNumber")->setText(number);
    teacher.findChild<QPushButton*>("cmdFind")->click();
  }

  DialogWorld world;
  Form3 editor{world.state, world.services, [] {}};
  std::array<QImage, 2> captures;
  const PixelFont font = BoldFont(8);
  CaptureLook look;
};

// Refusals propose nothing and Cancel changes no slot; the typed number
// fills its slots and marks the rest, and the save reads the capture.
TEST_F(TeachTest, TypedNumberFillsItsSlotsMarksTheRestAndTheSaveReadsTheCapture) {
  Install(11);
  std::array<bool, 11> unfinished{};
  unfinished.fill(true);
  EXPECT_EQ(editor.Unfinished(), unfinished) << "defaults are unfinished";
  editor.findChild<QPushButton*>("cmdTeach")->click();  // no capture yet: a message, no teacher
  look.noise = 8;
  captures[0] = DrawCapture(font, "152", look);
  InTeacher([&](CaptureTeacher& teacher) {
    const QSize size = teacher.size();
    Type(teacher, QStringLiteral("15a"));
    EXPECT_TRUE(teacher.Proposal().spans.empty());
    EXPECT_FALSE(teacher.findChild<QPushButton*>("cmdAccept")->isEnabled());
    Type(teacher, QStringLiteral("152"));
    const std::vector<int> edges = teacher.Proposal().Edges();
    ASSERT_EQ(edges.size(), 8u);  // three cells, each its digit's ink, and the delimiter
    teacher.findChild<QSpinBox*>("spnBoundary")->setValue(7);
    teacher.findChild<QPushButton*>("cmdRight")->click();
    teacher.findChild<QPushButton*>("cmdRight")->click();
    teacher.findChild<QPushButton*>("cmdLeft")->click();
    EXPECT_EQ(teacher.Proposal().Edges().back(), edges.back() + 1);
    EXPECT_EQ(teacher.size(), size) << "the buttons stay under the pointer";
    teacher.findChild<QPushButton*>("cmdCancel")->click();
  });
  EXPECT_EQ(SlotOf(editor, 5)->Picture(), world.state.patternImages.digits[5]) << "Cancel changes no slot";
  const std::vector<Notice> refusals{
      {QStringLiteral("この領域のキャプチャがまだありません。\r\n"
                      "ゲームを前面にして一度キャプチャしてから選んでください。"),
       QStringLiteral("キャプチャから登録")},
      {RefusalText(SegmentationRefusal::NotADigitString, "15a"), QStringLiteral("キャプチャから登録")}};
  EXPECT_EQ(world.boxes.shown, refusals);

  InTeacher([](CaptureTeacher& teacher) {
    Type(teacher, QStringLiteral("１５２"));  // as an input method types it
    teacher.findChild<QPushButton*>("cmdAccept")->click();
  });
  for (int slot : {1, 5, 2, 10}) {
    unfinished[static_cast<std::size_t>(slot)] = false;
    EXPECT_FALSE(SlotOf(editor, slot)->Marked()) << slot;
  }
  EXPECT_EQ(editor.Unfinished(), unfinished);
  EXPECT_TRUE(SlotOf(editor, 0)->Marked());
  EXPECT_EQ(SlotOf(editor, 5)->Picture().height(), 13);

  // The defaults left take no part: the cells keep their own height, and
  // the defaults are brought to it.
  editor.findChild<QPushButton*>("cmdSave")->click();
  EXPECT_EQ(world.boxes.shown, refusals) << "nothing more to say";
  EXPECT_EQ(world.state.patternImages.digits[5].height(), 13);
  EXPECT_EQ(world.state.patternImages.digits[0].height(), 13);
  EXPECT_EQ(world.state.patterns.digitPatterns[0].width, 0) << "a default left in a taught area never matches";
  EXPECT_EQ(world.state.patterns.cellWidth[0], world.state.patternImages.digits[5].width()) << "set by the taught cells";
  editor.LoadArea(0);
  EXPECT_EQ(editor.Unfinished(), unfinished) << "what was taught is known from where it came from";
}

TEST_F(TeachTest, ASaveThatCannotReadTheCaptureSaysWhichDigitAndKeepsTheEditorOpen) {
  Install(20);
  captures[0] = DrawCapture(font, "152", look);
  editor.show();
  InTeacher([](CaptureTeacher& teacher) {
    Type(teacher, QStringLiteral("152"));
    // The "5" cut two columns short on the left: its first columns are a mark nothing reads.
    teacher.findChild<QSpinBox*>("spnBoundary")->setValue(2);
    teacher.findChild<QPushButton*>("cmdRight")->click();
    teacher.findChild<QPushButton*>("cmdRight")->click();
    teacher.findChild<QPushButton*>("cmdAccept")->click();
  });
  editor.findChild<QPushButton*>("cmdSave")->click();
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_TRUE(world.boxes.shown[0].text.startsWith(
      QStringLiteral("登録に使ったキャプチャが「152」と読めません（読み取り結果: 認識NG）。保存していません。\r\n")))
      << world.boxes.shown[0].text.toStdString();
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(world.TraceText().endsWith(QStringLiteral(" Saving PatternFiles･･･End \r\n"))) << "nothing written";
  EXPECT_NE(SlotOf(editor, 5)->Picture(), world.state.patternImages.digits[5]) << "the slots keep what was taught";
}

}  // namespace

// The pattern editor run from inside a recognition's lag wait: the player
// can open it while 認 識 or a timed capture is under way and replace the
// pattern set the scan is using.
#include <QPushButton>

#include "dialogs/form3.h"
#include "dialogs/pattern_slot.h"
#include "program_fixture.h"

namespace {

enum class Path { Timer, Recognize };

struct RebuildCase {
  Path path;
  const char* button;  // 初期化 or 保 存
};

class PatternRebuild : public ProgramTest, public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(PatternRebuild, ARunningScanKeepsItsPatternsAndReadsTheCapture) {
  const RebuildCase c = GetParam();
  Start([](Settings& settings) { settings.lag = 1; });
  OpenGame("152", "1234567890");
  if (c.path == Path::Recognize) form().CaptureStep();  // captured before the editor is in play

  // The player's defaults are now larger than the set in use: taller than
  // the experience capture, so a scan that read them with the old set's
  // offsets would read past the capture.
  std::array<QImage, 11> larger;
  for (int slot = 0; slot < 11; ++slot) {
    const QString name = slot < 10 ? QStringLiteral("Pattern1%1.bmp").arg(slot) : QStringLiteral("PatternDel1.bmp");
    const QImage image(folder_.File("system/" + name));
    larger[slot] = image.scaled(image.size() * 2);
    ASSERT_TRUE(larger[slot].save(folder_.File("system/" + name), "BMP"));
  }

  // A few columns into the scan of area 1, the button is pressed once.
  int waits = 0;
  bool pressed = false;
  clock_.onWait = [&] {
    if (pressed || !Label("lblCapture_1")->text().endsWith(QStringLiteral("認識中…")) || ++waits < 3) return;
    pressed = true;
    Form3* editor = form().PatternEditor();
    editor->LoadArea(1);
    for (int slot = 0; slot < 11; ++slot) {
      const QString name = slot < 10 ? QStringLiteral("picPattern(%1)").arg(slot) : QStringLiteral("picPatternDL");
      editor->findChild<PatternSlot*>(name)->SetPicture(larger[slot]);
    }
    editor->findChild<QPushButton*>(c.button)->click();
  };

  if (c.path == Path::Timer) {
    Run();
    RunFor(20);
  } else {
    form().cmdRecognize_Click();
  }
  ASSERT_TRUE(pressed);
  EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
  EXPECT_EQ(form().Monitor().RecognizedExp(), 1234567890.0);

  // The next scan uses the rebuilt set, which cannot read the capture.
  clock_.onWait = {};
  form().cmdRecognize_Click();
  EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
  EXPECT_EQ(form().Monitor().RecognizedExp(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(BothPathsBothButtons, PatternRebuild,
                         ::testing::Values(RebuildCase{Path::Timer, "cmdInitial"}, RebuildCase{Path::Timer, "cmdSave"},
                                           RebuildCase{Path::Recognize, "cmdInitial"},
                                           RebuildCase{Path::Recognize, "cmdSave"}),
                         [](const ::testing::TestParamInfo<RebuildCase>& info) {
                           return std::string(info.param.path == Path::Timer ? "Timer_" : "Recognize_") +
                                  info.param.button;
                         });

}  // namespace

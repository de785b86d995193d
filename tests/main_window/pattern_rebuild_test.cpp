// The pattern editor saved during a recognition's lag: the player can open
// it while 認 識 or a timed capture is under way and replace the pattern set
// the scan began with.
#include <QPushButton>

#include "dialogs/form3.h"
#include "dialogs/pattern_slot.h"
#include "program_fixture.h"

namespace {

// Which way the scan is under way (timed, or 認 識) and the editor's button pressed in it.
class PatternRebuild : public ProgramTest, public ::testing::WithParamInterface<std::tuple<bool, std::string>> {};

TEST_P(PatternRebuild, ARunningScanKeepsItsPatternsAndReadsTheCapture) {
  const bool timed = std::get<0>(GetParam());
  const QString button = QString::fromStdString(std::get<1>(GetParam()));
  Start([](Settings& settings) { settings.lag = 1; });
  OpenGame("152", "1234567890");
  if (!timed) {
    form().CaptureStep();  // captured before the editor is in play
    clock_.AdvanceSeconds(60);
  }

  // The player's defaults are now larger than the set in use: taller than
  // the experience capture, so a scan that read them with the old set's
  // offsets would read past the capture.
  std::array<QImage, 11> larger;
  for (int slot = 0; slot < 11; ++slot) {
    const QString file = folder_.File(slot < 10 ? QStringLiteral("system/Pattern1%1.bmp").arg(slot)
                                                : QStringLiteral("system/PatternDel1.bmp"));
    larger[slot] = QImage(file).scaled(QImage(file).size() * 2);
    ASSERT_TRUE(larger[slot].save(file, "BMP"));
  }

  if (timed) {
    Run();
    RunFor(20);
  } else {
    form().cmdRecognize_Click();
  }
  // A few columns into the scan of area 1, the button is pressed once.
  for (int ms = 0; ms < 60'000 && !Label("lblCapture_1")->text().endsWith(QStringLiteral("認識中…")); ++ms) {
    clock_.Advance(1);
  }
  clock_.Advance(3);
  ASSERT_TRUE(Label("lblCapture_1")->text().endsWith(QStringLiteral("認識中…")));
  {
    Form3* editor = form().PatternEditor();
    editor->LoadArea(1);
    for (int slot = 0; slot < 11; ++slot) {
      const QString name = slot < 10 ? QStringLiteral("picPattern(%1)").arg(slot) : QStringLiteral("picPatternDL");
      editor->findChild<PatternSlot*>(name)->SetPicture(larger[slot]);
    }
    editor->findChild<QPushButton*>(button)->click();
  }
  clock_.AdvanceSeconds(5);
  EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
  EXPECT_EQ(form().Monitor().RecognizedExp(), 1234567890.0);

  // The next scan uses the rebuilt set, which cannot read the capture.
  form().cmdRecognize_Click();
  clock_.AdvanceSeconds(5);
  EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
  EXPECT_EQ(form().Monitor().RecognizedExp(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    BothPathsBothButtons, PatternRebuild,
    ::testing::Combine(::testing::Bool(), ::testing::Values(std::string("cmdInitial"), std::string("cmdSave"))));

}  // namespace

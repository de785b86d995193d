#include "program_fixture.h"

TEST_F(ProgramTest, SavingCapturesAndTheScreenshotWriteWhatWasTakenUnderItsTime) {
  Start([](Settings& settings) { settings.captureRegions[1].ex = 0; });  // area 1 captures nothing
  const auto saved = [&] { return QDir(folder_.File("Pattern")).entryList({"Capture*"}, QDir::Files); };
  form().menuPatternSave_Click();
  EXPECT_TRUE(saved().isEmpty()) << "nothing captured yet";
  OpenGame("152", "1234567890");
  form().CaptureStep();
  form().menuPatternSave_Click();
  EXPECT_EQ(saved(), QStringList{"Capture0_1205143000.bmp"});

  // The screenshot is of the window in front once the ten-second wait is over.
  const WindowId other = windows_.Add("Other", QRect(40, 30, 300, 200));
  clock_.onWait = [&] { windows_.foreground = other; };
  form().menuPrtScr_Click();
  EXPECT_EQ(QImage(folder_.File("PrtScr_20261205143010.bmp")).size(), QSize(300, 200));
}

TEST_F(ProgramTest, SingleRecognitionTwiceReadsTheSameAndShowsThreeDecimals) {
  Start();
  OpenGame("152", "1234567890");
  form().CaptureStep();
  for (int i = 0; i < 2; ++i) {
    form().cmdRecognize_Click();
    EXPECT_EQ(form().Monitor().RecognizedLevel(), 152);
    EXPECT_EQ(form().Monitor().RecognizedExp(), 1234567890.0);
    EXPECT_EQ(Label("lblElapse")->text(), QStringLiteral("0.000秒"));
  }
}

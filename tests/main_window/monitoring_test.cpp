#include "accounting/log_headers.h"
#include "program_fixture.h"

TEST_F(ProgramTest, RunWithoutTheGameChangesNothingAndStopBefore20SecondsCapturesNothing) {
  Start();
  Run();
  RunFor(60);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing}) << "one message, and no timer running";
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_TRUE(form().findChild<QAction*>("menuRun")->isEnabled());
  EXPECT_FALSE(form().findChild<QAction*>("menuStop")->isEnabled());

  OpenGame("152", "1234567890");
  Run();
  RunFor(19);
  form().menuStop_Click();
  RunFor(60);
  EXPECT_TRUE(form().Capture(0).isNull());
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n");
  Run();
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n" + ScreenHeader() + "\r\n");
}

TEST_F(ProgramTest, TheGameIsCapturedOnlyInFrontAndLosingItWithALogFileStopsOnce) {
  Start();
  OpenGame("152", "1234567890", /*inFront=*/false);
  Run();
  RunFor(3600);
  EXPECT_TRUE(windows_.grabs.empty());
  EXPECT_TRUE(boxes_.shown.empty());
  windows_.foreground = game_;
  RunFor(20);
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("152"));
  EXPECT_EQ(Label("lblCapture_1")->text(), QStringLiteral("1234567890"));
  ASSERT_FALSE(form().LogWriter().LogStamp().isEmpty());

  windows_.Remove(game_);
  windows_.foreground = 0;
  RunFor(3 * 20 * 60);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing});
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_TRUE(form().Capture(0).isNull());
  EXPECT_TRUE(form().Capture(1).isNull());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Lost MapleStory Then Log Stop"));
}

TEST_F(ProgramTest, WithoutALogFileALostGameIsReportedAtEachDueTimeWithoutPilingUpBoxes) {
  Start([](Settings& settings) { settings.captureInterval = 1; });
  OpenGame("152", "1234567890");
  Run();
  windows_.Remove(game_);
  windows_.foreground = 0;
  // The user leaves the first box open for ten minutes while the timer runs.
  boxes_.whileOpen = [&] {
    if (boxes_.shown.size() == 1) RunFor(600);
  };
  RunFor(20);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  // Once it is closed, the next due time shows the next one.
  RunFor(10);
  EXPECT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(TraceMessages().count(QStringLiteral(" Lost MapleStory Then Capture Stop")), 2);
  EXPECT_TRUE(form().IsMonitoring());
}

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
  EXPECT_TRUE(form().Monitor().Capture(0).isNull());
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n");
  Run();
  EXPECT_EQ(form().LogText(), ScreenHeader() + "\r\n" + ScreenHeader() + "\r\n");
}

TEST_F(ProgramTest, TheGameIsCapturedOnlyInFrontAndLosingItWithALogFileStopsOnce) {
  Start();
  // Level 190 needs 1,312,399,850: a counter the misread guard believes.
  OpenGame("190", "1234567890", /*inFront=*/false);
  Run();
  RunFor(3600);
  EXPECT_TRUE(windows_.grabs.empty());
  EXPECT_TRUE(boxes_.shown.empty());
  windows_.foreground = game_;
  RunFor(20);
  EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("190"));
  EXPECT_EQ(Label("lblCapture_1")->text(), QStringLiteral("1234567890"));
  ASSERT_FALSE(form().Monitor().LogWriter().LogStamp().isEmpty());

  windows_.Remove(game_);
  windows_.foreground = 0;
  RunFor(3 * 20 * 60);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing});
  EXPECT_FALSE(form().IsMonitoring());
  EXPECT_TRUE(form().Monitor().Capture(0).isNull());
  EXPECT_TRUE(form().Monitor().Capture(1).isNull());
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

TEST_F(ProgramTest, AShorterIntervalCountsFromTheLastCaptureALongerOneFromTheNext) {
  // Only the timed captures grab here.
  Start([](Settings& settings) { settings.liveSampling = false; });  // 20 minutes
  OpenGame("190", "1234567890");
  Run();
  RunFor(20);
  ASSERT_EQ(windows_.grabs.size(), 2u);
  const QDateTime firstCapture = clock_.Now();

  // Five minutes on, the player chooses 2: the capture due in 15 minutes
  // comes within a tick of two minutes after the first one instead.
  RunFor(5 * 60);
  form().State().settings.captureInterval = 2;
  RunFor(10);
  EXPECT_EQ(windows_.grabs.size(), 4u) << "the last capture plus 2 minutes has passed";
  EXPECT_LE(firstCapture.secsTo(clock_.Now()), 5 * 60 + 10);

  // Lengthened again: the capture already due in 2 minutes still comes.
  form().State().settings.captureInterval = 60;
  RunFor(2 * 60 + 10);
  EXPECT_EQ(windows_.grabs.size(), 6u);
  RunFor(59 * 60);
  EXPECT_EQ(windows_.grabs.size(), 6u);
  RunFor(60);
  EXPECT_EQ(windows_.grabs.size(), 8u);
}

TEST_F(ProgramTest, ACapturePressedDuringATimedStepIsNotTracedAsDoneAndLeavesTheDueTime) {
  Start([](Settings& settings) {
    settings.lag = 50;
    settings.liveSampling = false;  // only the capture steps grab
  });
  OpenGame("190", "1234567890");
  Run();
  bool pressed = false;
  QDateTime dueInStep;
  clock_.onWait = [&] {
    // The player presses キャプチャ while the timed step waits out a lag.
    if (pressed || clock_.waits.back() != 50) return;
    pressed = true;
    dueInStep = form().Monitor().NextCaptureTime();
    form().cmdCapture_Click();
  };
  RunFor(20);
  ASSERT_TRUE(pressed);
  EXPECT_EQ(form().Monitor().NextCaptureTime(), dueInStep);
  EXPECT_FALSE(TraceMessages().contains(QStringLiteral(" SingleCapture･･･End ")));
  EXPECT_EQ(windows_.grabs.size(), 2u) << "one capture step, not two";

  // Pressed on its own, it captures and says so.
  clock_.onWait = {};
  form().cmdCapture_Click();
  EXPECT_EQ(windows_.grabs.size(), 4u);
  EXPECT_TRUE(TraceMessages().contains(QStringLiteral(" SingleCapture･･･End ")));
}

TEST_F(ProgramTest, TheLagWaitedStaysInTheDialogsRangeAndClosingEndsEveryWait) {
  for (const std::int32_t lag : {2147483647, -2147483647 - 1, 100, 0}) {
    SCOPED_TRACE(lag);
    program_ = {};
    clock_.waits.clear();
    Start([lag](Settings& settings) { settings.lag = lag; });
    OpenGame("152", "1234567890");
    Run();
    RunFor(20);
    EXPECT_EQ(Label("lblCapture_0")->text(), QStringLiteral("152"));
    EXPECT_EQ(form().State().settings.lag, lag) << "the file's value is kept";
    for (const double wait : clock_.waits) EXPECT_LE(wait, 100);
    EXPECT_EQ(std::count(clock_.waits.begin(), clock_.waits.end(), 100.0) > 0, lag >= 100);
  }
  EXPECT_FALSE(clock_.waitsEnded);
  form().close();
  EXPECT_TRUE(clock_.waitsEnded);
}

TEST_F(ProgramTest, EveryLineTheLogFileDidNotReceiveIsMarkedOnScreenAfterOneMessage) {
  // A folder holds the month file's name: the whole run cannot be written.
  ASSERT_TRUE(QDir().mkpath(folder_.File("log/給与明細202612月.txt")));
  Start([](Settings& settings) {
    settings.captureInterval = 1;
    settings.saveDistance = true;
  });
  OpenGame("190", "1234567890");
  Run();
  RunFor(20);
  OpenGame("190", "1234567990");
  RunFor(60);
  OpenGame("190", "1234568990");
  RunFor(60);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].title, QStringLiteral("ログファイル書込みエラー"));
  const QStringList lines = form().LogText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << form().LogText().toStdString();  // the header, then three readings
  for (int i = 1; i < 4; ++i) EXPECT_TRUE(lines[i].endsWith(QStringLiteral("  ※ファイル未書込み"))) << i;

  // Once the file can be written, lines are no longer marked.
  QDir(folder_.File("log/給与明細202612月.txt")).removeRecursively();
  OpenGame("190", "1234569990");
  RunFor(60);
  EXPECT_FALSE(form().LogText().trimmed().endsWith(QStringLiteral("※ファイル未書込み")));
  EXPECT_TRUE(folder_.Read("log/給与明細202612月.txt").contains("1,234,569,990"));
}

// The monitoring cycle on fakes: Run and Stop, due times and retries, the
// capture step and a lost game, the lag, the log file's failures, and the
// live readings between the timed captures.
#include "cycle_fixture.h"

namespace {

TEST_F(CycleTest, RunWithoutTheGameChangesNothingAndStopBefore20SecondsCapturesNothing) {
  Start();
  Run();
  RunFor(60);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing}) << "one message, and no timer running";
  EXPECT_TRUE(!cycle().Monitoring() && seen_.monitoring.empty());

  OpenGame("152", "1234567890");
  Run();
  RunFor(19);
  cycle().Stop();
  RunFor(60);
  EXPECT_TRUE(cycle().Capture(0).isNull() && seen_.log == ScreenHeader() + "\r\n");
  Run();
  EXPECT_EQ(seen_.log, ScreenHeader() + "\r\n" + ScreenHeader() + "\r\n");
  EXPECT_EQ(seen_.monitoring, (std::vector<bool>{true, false, true}));
}

// (A covered game is never grabbed: the sight tests.)
TEST_F(CycleTest, LosingTheGameWithALogFileStopsOnce) {
  StartReading([](Settings& s) { s.gameWaitMinutes = 0; });
  ASSERT_FALSE(cycle().LogWriter().LogStamp().isEmpty());

  CloseGame();
  RunFor(3 * 20 * 60);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing});
  EXPECT_EQ(boxes_.warned, 1) << "above the game, and nothing waits for it";
  EXPECT_EQ(cycle().StateText(), QStringLiteral("停止中  ") + GameLostStopText(QStringLiteral("14:50")))
      << "stopped, and why, at the first due time after the game went";
  EXPECT_FALSE(seen_.figures.running) << "the panel and the compact view say so too";
  EXPECT_FALSE(cycle().Monitoring());
  EXPECT_TRUE(cycle().Capture(0).isNull() && cycle().Capture(1).isNull());
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" Lost MapleStory Then Log Stop"));
}

// A crash or a restart of the game within the wait: the same file, no box,
// and the time without the game is no part of the next gain's minutes. A
// wait that runs out ends as the stop above does.
TEST_F(CycleTest, AGameBackWithinTheWaitGoesOnInTheSameFileWithoutTheGapAndAWaitThatRunsOutStops) {
  StartReading([](Settings& s) { s.captureInterval = 1; });  // read at 14:30:20
  CloseGame();
  RunFor(30);  // missed at 14:30:30
  EXPECT_EQ(std::tuple(cycle().StateText(), cycle().Monitoring(), boxes_.warned),
            std::tuple(QStringLiteral("ゲームの再起動を待っています (あと 09:40)"), true, 0));
  OpenGame("190", "1234597890");  // back, seen at 14:31:00, read at 14:31:20
  RunFor(60);
  EXPECT_EQ(FileText(QStringLiteral("log/給与明細202612051430.txt")),
            (FileHeader(false) + "\r\n12/05 14:31   190   1,234,597,890       30,000      0.5        3,600 \r\n")
                .toStdString());
  CloseGame();  // missed at 14:32:00
  RunFor(10 * 60);
  EXPECT_TRUE(cycle().Monitoring());
  RunFor(20);
  EXPECT_EQ(std::tuple(cycle().Monitoring(), boxes_.warned), std::tuple(false, 1));
  EXPECT_EQ(TraceMessages().filter(QStringLiteral("MapleStory")),
            QStringList({" Lost MapleStory Then Wait", " Found MapleStory Again", " Lost MapleStory Then Wait",
                         " Lost MapleStory Then Log Stop"}));
}

TEST_F(CycleTest, WithoutALogFileALostGameIsWarnedOnceEachTimeItGoesWhileMonitoringGoesOn) {
  Start([](Settings& s) { s.captureInterval = 1; });
  OpenGame("152", "1234567890");
  Run();
  CloseGame();
  RunFor(600);
  EXPECT_EQ(boxes_.shown, std::vector<Notice>{kGameMissing}) << "not a box at every due time";
  EXPECT_EQ(TraceMessages().count(QStringLiteral(" Lost MapleStory Then Capture Stop")), 10);
  EXPECT_TRUE(cycle().Monitoring() && cycle().StateText() == QStringLiteral("ゲームが見つかりません"));
  // Back (behind another window, so nothing is logged), then gone again.
  OpenGame("152", "1234567890", /*inFront=*/false);
  RunFor(60);
  CloseGame();
  RunFor(60);
  EXPECT_EQ(boxes_.warned, 2);
}

// Two commands' countdowns run side by side: the later one is told, and
// the earlier one's goes on when it is over.
TEST_F(CycleTest, ACaptureCountsDownThroughACommandStartedInItsWaitAndSaysTheGameStayedBehind) {
  Start();
  OpenGame("152", "1234567890", /*inFront=*/false);
  CoverGame();  // a game merely out of focus is read where it can be seen
  cycle().ManualCapture();
  clock_.Advance(3000);  // 3 seconds into キャプチャ's wait, プリントスクリーン is chosen
  const std::optional<int> left = cycle().ManualSecondsLeft(QStringLiteral("キャプチャ"));
  bool printed = false;
  cycle().ManualWait(QStringLiteral("プリントスクリーン"), 2000, [&] { printed = true; });
  const QString inner = cycle().StateText();
  clock_.Advance(2000);
  const QString outer = cycle().StateText();
  clock_.Advance(5000);
  EXPECT_EQ(std::tuple(left, inner, printed, outer), std::tuple(7, QStringLiteral("プリントスクリーンまで 00:02"), true,
                                                                QStringLiteral("キャプチャまで 00:05")));
  EXPECT_EQ(std::tuple(cycle().ManualSecondsLeft(QStringLiteral("キャプチャ")), cycle().StateText()),
            std::tuple(std::nullopt, ManualCaptureNotInFrontText()));
  EXPECT_TRUE(windows_.grabs.empty());
  EXPECT_TRUE(cycle().CountingDown()) << "the news goes away by itself";
  clock_.AdvanceSeconds(31);
  EXPECT_EQ(cycle().StateText(), QStringLiteral("停止中"));
}

TEST_F(CycleTest, AShorterIntervalCountsFromTheLastCaptureALongerOneFromTheNext) {
  // Only the timed captures grab here.
  StartReading([](Settings& s) { s.liveSampling = false; });  // 20 minutes
  ASSERT_EQ(windows_.grabs.size(), 2u);
  const QDateTime firstCapture = clock_.Now();

  // Five minutes on, the player chooses 2: the capture due in 15 minutes
  // comes within a tick of two minutes after the first one instead.
  RunFor(5 * 60);
  settings().captureInterval = 2;
  RunFor(10);
  EXPECT_EQ(windows_.grabs.size(), 4u) << "the last capture plus 2 minutes has passed";
  EXPECT_LE(firstCapture.secsTo(clock_.Now()), 5 * 60 + 10);

  // Lengthened again: the capture already due in 2 minutes still comes.
  settings().captureInterval = 60;
  RunFor(2 * 60 + 10);
  EXPECT_EQ(windows_.grabs.size(), 6u);
  RunFor(59 * 60);
  EXPECT_EQ(windows_.grabs.size(), 6u);
  RunFor(60);
  EXPECT_EQ(windows_.grabs.size(), 8u);
}

TEST_F(CycleTest, AfterStopAndRunTheFirstCaptureIsAgainDueFifteenSecondsLater) {
  StartReading([](Settings& s) {
    s.captureInterval = 1;
    s.liveSampling = false;
  });
  ASSERT_EQ(windows_.grabs.size(), 2u);
  cycle().Stop();
  RunFor(5 * 60);  // more than an interval since the last capture
  Run();
  EXPECT_EQ(cycle().StateText(), QStringLiteral("監視中  次のキャプチャまで 00:15"));
  RunFor(10);
  EXPECT_EQ(windows_.grabs.size(), 2u) << "not at the first tick";
  RunFor(10);
  EXPECT_EQ(windows_.grabs.size(), 4u);
}

TEST_F(CycleTest, AWallClockSetBackOrForwardMovesNeitherTheDueTimeNorTheCountdown) {
  StartReading([](Settings& s) {
    s.captureInterval = 2;
    s.liveSampling = false;
  });
  ASSERT_EQ(windows_.grabs.size(), 2u);
  const QDateTime at = clock_.Now();
  for (const qint64 jump : {-3600LL, 86400LL}) {
    SCOPED_TRACE(jump);
    const std::size_t grabs = windows_.grabs.size();
    clock_.SetWallClock(clock_.Now().addSecs(jump));
    RunFor(10);
    EXPECT_EQ(cycle().StateText(), QStringLiteral("監視中  次のキャプチャまで 01:50"));
    EXPECT_EQ(windows_.grabs.size(), grabs) << "not at once";
    RunFor(110);
    EXPECT_EQ(windows_.grabs.size(), grabs + 2) << "on time";
  }
  // Lines keep the wall clock the player reads.
  OpenGame("190", "1234600000");
  RunFor(120);
  EXPECT_TRUE(seen_.log.contains(at.addSecs(86400 - 3600 + 360).toString("MM/dd hh:mm") + "  190")) << seen_.log.toStdString();
}

TEST_F(CycleTest, ACapturePressedDuringATimedStepNeitherHoldsItUpNorIsTracedAsDone) {
  Start([](Settings& s) {
    s.lag = 50;
    s.liveSampling = false;  // only the capture steps grab
  });
  OpenGame("190", "1234567890");
  Run();
  RunFor(20);  // the timed step reads out its lag
  ASSERT_GT(clock_.Pending(), 0u);
  const QDateTime dueInStep = cycle().NextCaptureTime();
  cycle().ManualCapture();
  EXPECT_EQ(cycle().ManualSecondsLeft(QStringLiteral("キャプチャ")), std::nullopt) << "no wait begins";
  clock_.AdvanceSeconds(30);
  EXPECT_EQ(cycle().NextCaptureTime(), dueInStep);
  EXPECT_FALSE(TraceMessages().contains(QStringLiteral(" SingleCapture･･･End ")));
  EXPECT_EQ(std::tuple(windows_.grabs.size(), seen_.LogLines(QStringLiteral("1,234,567,890"))), std::tuple(2u, 1))
      << "one capture step, not two";

  // Pressed on its own, it captures and says so.
  cycle().ManualCapture();
  clock_.AdvanceSeconds(30);
  EXPECT_TRUE(windows_.grabs.size() == 4u && TraceMessages().contains(QStringLiteral(" SingleCapture･･･End ")));
}

TEST_F(CycleTest, TheLagWaitedStaysInTheDialogsRangeAndTheEndDropsEveryWait) {
  for (const std::int32_t lag : {2147483647, -2147483647 - 1, 0, 100}) {
    SCOPED_TRACE(lag);
    clock_.timers.clear();
    StartReading([lag](Settings& s) { s.lag = lag; });
    clock_.AdvanceSeconds(60);
    EXPECT_EQ(std::tuple(seen_.captions[0], settings().lag), std::tuple(QStringLiteral("190"), lag))
        << "the file's value is kept";
    for (const std::int64_t wait : clock_.timers) {
      if (wait != MonitoringCycle::kTickMs) {
        EXPECT_LE(wait, 100);
      }
    }
    EXPECT_EQ(std::count(clock_.timers.begin(), clock_.timers.end(), 100) > 0, lag >= 100);
  }
  cycle().ManualCapture();
  clock_.AdvanceSeconds(10);  // in the lag of the capture
  ASSERT_GT(clock_.Pending(), 0u);
  const QString log = seen_.log;
  cycle().End(true);
  EXPECT_EQ(clock_.Pending(), 0u);
  clock_.AdvanceSeconds(60);
  EXPECT_EQ(seen_.log, log);
}

// Whatever the windows do while a capture step waits (for the player to
// bring the game forward, or out its lag), it runs beside the step, never
// inside it, and the step ends as it should: a press during the lag is
// that step, the editor's new patterns count from the next scan, Stop still
// lets the reading be logged, and Exit drops every wait.
TEST_F(CycleTest, WhatTheWindowsDoDuringEachStageOfACaptureStepRunsBesideItAndTheStepEndsAsItShould) {
  enum class Act { Capture, Recognize, EditorSaves, Stop, Exit };
  boxes_.answer = false;  // each round a measurement of its own
  for (const bool inLag : {false, true}) {
    for (const Act act : {Act::Capture, Act::Recognize, Act::EditorSaves, Act::Stop, Act::Exit}) {
      SCOPED_TRACE(testing::Message() << (inLag ? "in the lag, act " : "in the wait, act ") << static_cast<int>(act));
      Start([](Settings& s) {
        s.lag = 20;
        s.liveSampling = false;
      });
      OpenGame("190", "1234567890");
      cycle().ManualCapture();  // no timed capture comes between
      clock_.Advance(inLag ? 10'020 : 9'000);
      const auto readings = [&] { return seen_.LogLines(QStringLiteral("1,234,567,890")); };
      ASSERT_EQ(readings(), 0);
      const auto capturesTraced = [&] { return TraceMessages().count(QStringLiteral(" SingleCapture･･･End ")); };
      const int capturesBefore = capturesTraced();
      int recognized = 0;
      switch (act) {
        case Act::Capture: cycle().ManualCapture(); break;
        case Act::Recognize: cycle().Recognize([&] { ++recognized; }); break;
        case Act::EditorSaves:
          state_.patterns = PatternSet();  // a set that reads nothing
          cycle().PatternsChanged();
          break;
        case Act::Stop: cycle().Stop(); break;
        case Act::Exit: cycle().End(true); break;
      }
      EXPECT_EQ(readings(), 0) << "the step never ends inside what the window does";
      clock_.AdvanceSeconds(60);
      EXPECT_EQ(clock_.Pending(), 0u) << "every wait has ended";
      const int captures = static_cast<int>(capturesTraced() - capturesBefore);
      const int failed = seen_.LogLines(QStringLiteral("認識失敗"));
      switch (act) {
        case Act::Capture:  // pressed in the lag, it is this step; in the wait, one more after it
          EXPECT_EQ(std::tuple(readings(), captures), std::tuple(1, inLag ? 1 : 2));
          break;
        case Act::Recognize:  // the step's own reading is the one under way
          EXPECT_EQ(std::tuple(readings(), recognized), std::tuple(1, inLag ? 0 : 1));
          break;
        case Act::EditorSaves:  // a scan reads with the set it began with
          EXPECT_EQ(std::tuple(readings(), failed), inLag ? std::tuple(1, 0) : std::tuple(0, 1));
          break;
        case Act::Stop:
          EXPECT_EQ(std::tuple(readings(), captures, cycle().Monitoring()), std::tuple(1, 1, false));
          break;
        case Act::Exit:
          EXPECT_EQ(std::tuple(readings(), captures), std::tuple(0, 0));
          break;
      }
    }
  }
}

TEST_F(CycleTest, EveryLineTheLogFileDidNotReceiveIsMarkedOnScreenAfterOneMessage) {
  // A folder holds the month file's name: the whole run cannot be written.
  ASSERT_TRUE(QDir().mkpath(folder_.File("log/給与明細202612月.txt")));
  StartReading([](Settings& s) {
    s.captureInterval = 1;
    s.saveDistance = true;
  });
  OpenGame("190", "1234567990");
  RunFor(60);
  OpenGame("190", "1234568990");
  RunFor(60);
  EXPECT_EQ(boxes_.shown.size(), 1u);
  // The header, then three readings, each marked.
  EXPECT_EQ(std::tuple(seen_.log.count("\r\n"), seen_.LogLines(QStringLiteral("  ※ファイル未書込み"))),
            std::tuple(4, 3));

  // Once the file can be written, lines are no longer marked.
  QDir(folder_.File("log/給与明細202612月.txt")).removeRecursively();
  OpenGame("190", "1234569990");
  RunFor(60);
  EXPECT_FALSE(seen_.log.trimmed().endsWith(QStringLiteral("※ファイル未書込み")));
  EXPECT_TRUE(folder_.Read("log/給与明細202612月.txt").contains("1,234,569,990"));
}

// (The first capture's 20 seconds after Run: the Stop and Run test.)
TEST_F(CycleTest, AutoStartMonitorsWhenTheGameRunsAndOtherwiseShowsTheMessage) {
  const auto autoStart = [](Settings& s) { s.autoStart = true; };
  Start(autoStart);
  EXPECT_EQ(std::tuple(boxes_.shown, cycle().Monitoring()), std::tuple(std::vector<Notice>{kGameMissing}, false));
  OpenGame("152", "1234567890");
  Start(autoStart);
  EXPECT_TRUE(cycle().Monitoring() && seen_.log == ScreenHeader() + "\r\n" && boxes_.shown.size() == 1u);
}

}  // namespace

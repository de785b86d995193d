// The misread guard, the alerts and the continued measurement, each through
// the monitoring cycle on fakes.
#include <gmock/gmock.h>

#include "cycle_fixture.h"
#include "persistence/measurement_state.h"
#include "support/qstring_printer.h"

namespace {

// Level 190 needs 1,312,399,850.
const QString kLog = QStringLiteral("log/給与明細202612051430.txt");

std::string Lines(const QString& first, const QString& second = {}) {
  return (first + "\r\n" + (second.isEmpty() ? QString() : second + "\r\n")).toStdString();
}

class SafeguardsTest : public CycleTest {
 protected:
  int NoGainAlerts() const { return seen_.LogLines(QStringLiteral("経験値が5分間増えていません")); }
  int AwayAlerts() const { return seen_.LogLines(QStringLiteral("見つからないか、後ろに隠れています")); }
  int TroubleAlerts() const { return seen_.LogLines(QStringLiteral("キャプチャ領域と基準画像を確認してください")); }
};

TEST_F(SafeguardsTest, AMisreadDigitIsHeldBackForFifteenSecondsAndNeverReachesTheFileUnlessTheGuardIsOff) {
  StartReading([](Settings& s) { s.misreadGuard = false; });
  OpenGame("190", "1934567890");  // the second digit 2 read as 9
  RunFor(20 * 60);
  EXPECT_EQ(seen_.LogLines("認識疑義"), 0);
  EXPECT_EQ(FileText(kLog), Lines(FileHeader(false),
                                  "12/05 14:50   190   1,934,567,890  700,000,000     20.0    2,100,000 "));
  cycle().Stop();
  QDir(folder_.File("log")).removeRecursively();
  clock_.SetWallClock(QDateTime(QDate(2026, 12, 5), QTime(14, 30, 0)));
  StartReading();
  OpenGame("190", "1934567890");
  RunFor(20 * 60);
  EXPECT_EQ(seen_.log.split("\r\n").filter("認識疑義"),
            QStringList{QStringLiteral("12/05 14:50  認識疑義  Lv190 Exp1,934,567,890")});
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" ImageRecognition implausible"));
  EXPECT_EQ(cycle().NextCaptureTime(), clock_.Now().addSecs(15));
  OpenGame("190", "1234600000");
  RunFor(20);
  EXPECT_EQ(FileText(kLog), Lines(FileHeader(false),
                                  "12/05 14:50   190   1,234,600,000       32,110     20.3           94 "));
}

// 1,234,567,890 read without its first digit for as long as it stays so:
// no loss reaches the file or the panel; the third agreeing reading from a
// changing screen is a new base, said in the file, with no gain for it.
TEST_F(SafeguardsTest, ReadingsThatKeepDisagreeingMakeANewBaseOnlyAfterThreeAndTheFileSaysSo) {
  StartReading();
  OpenGame("190", "234567890");
  RunFor(20 * 60);
  const std::pair<const char*, int> shown[] = {{"234568890", 20}, {"234568890", 20}, {"234569890", 20}, {"234579890", 20 * 60}};
  for (const auto& [exp, seconds] : shown) {
    OpenGame("190", exp);
    RunFor(seconds);
  }
  EXPECT_EQ(FileText(kLog),
            Lines(FileHeader(false),
                  "12/05 14:51  基準再設定  Lv190 Exp234,569,890  "
                  "基準と合わない読取が一致して続いたため、ここから測り直します（差は獲得に数えません）") +
                "12/05 15:11   190     234,579,890       10,000     20.0           30 \r\n");
  EXPECT_EQ(seen_.figures.gained, 10'000) << "the panel, too, counts no jump";
}

TEST_F(SafeguardsTest, APercentageIsLoggedAsTheExperienceItStandsFor) {
  Start([](Settings& s) { s.expPercentDecimals = 3; });
  OpenGame("190", "45678");  // 45.678 %: the game's point is no digit
  Run();
  RunFor(20);
  OpenGame("190", "46678");
  RunFor(20 * 60);
  EXPECT_EQ(FileText(kLog),
            Lines(FileHeader(false), "12/05 14:50   190     580,775,503   12,442,167     20.0       37,326 "));
  OpenGame("300", "12345");  // the table has no size for the cap
  RunFor(20 * 60);
  EXPECT_EQ(seen_.LogLines(QStringLiteral("  測定不可  Lv300の経験値が経験値表になく、%表示を換算できません")), 1);
  EXPECT_EQ(TraceMessages().last(), QStringLiteral(" ImageRecognition percent without level size"));
}

TEST_F(SafeguardsTest, NoGainIsToldOnceClearsWhenExperienceRisesAndIsToldAgain) {
  StartReading([](Settings& s) { s.captureInterval = 1; });
  RunFor(4 * 60);
  EXPECT_EQ(NoGainAlerts(), 0) << "four minutes";
  RunFor(60);
  EXPECT_EQ(std::tuple(NoGainAlerts(), windows_.beeps, cycle().Alerts().AnyActive()), std::tuple(1, 1, true));
  RunFor(30 * 60);
  EXPECT_EQ(NoGainAlerts(), 1) << "once per occurrence";

  OpenGame("190", "1234600000");
  RunFor(60);
  EXPECT_FALSE(cycle().Alerts().Active(AlertKind::NoGain));
  EXPECT_EQ(seen_.rate, 1926) << "32,110 in 1 minute";
  RunFor(5 * 60);
  EXPECT_EQ(std::tuple(NoGainAlerts(), TraceMessages().count(QStringLiteral(" Alert NoGain"))), std::tuple(2, 2));
}

// The run without live readings also has the log line and the beep switched
// off: the alert still reaches the listeners.
TEST_F(SafeguardsTest, LiveReadingsTellNoGainWithinATickTimedOnesAtTheNextCaptureAndTellingCanBeOff) {
  for (const bool live : {true, false}) {
    SCOPED_TRACE(live ? "live readings" : "timed readings only, line and beep off");
    StartReading([live](Settings& s) {  // a capture every 20 minutes
      s.liveSampling = s.alertLogLine = s.alertBeep = live;
    });
    RunFor(5 * 60 + 10);
    EXPECT_EQ(seen_.raisedAlerts.size(), live ? 1u : 0u);
    RunFor(15 * 60);
    EXPECT_EQ(std::tuple(NoGainAlerts(), windows_.beeps, seen_.raisedAlerts),
              std::tuple(live ? 1 : 0, 1, std::vector<AlertKind>{AlertKind::NoGain}));
    cycle().Stop();
  }
}

TEST_F(SafeguardsTest, TheGameAwayIsToldOnceClearsInFrontAndNothingIsToldWhileStopped) {
  StartReading([](Settings& s) { s.captureInterval = 1; });
  windows_.foreground = windows_.Add(QStringLiteral("Other"), QRect(0, 0, 1000, 800));  // seen at the next tick
  RunFor(5 * 60 + 5);
  EXPECT_EQ(AwayAlerts(), 0);
  RunFor(10);
  EXPECT_EQ(AwayAlerts(), 1);
  RunFor(20 * 60);
  EXPECT_EQ(AwayAlerts(), 1);

  windows_.foreground = game_;
  OpenGame("190", "1234600000");
  RunFor(20);
  EXPECT_FALSE(cycle().Alerts().Active(AlertKind::GameAway));
  settings().gameWaitMinutes = 0;
  CloseGame();  // gone, with a log file active and no wait: monitoring stops, nothing more is told
  RunFor(60 * 60);
  EXPECT_EQ(std::tuple(cycle().Monitoring(), AwayAlerts(), cycle().Alerts().AnyActive()), std::tuple(false, 1, false));

  boxes_.shown.clear();
  OpenGame("190", "1234600000", /*inFront=*/false);
  CoverGame();
  Run();  // seen behind at once
  RunFor(5 * 60 - 5);
  EXPECT_EQ(AwayAlerts(), 1) << "the time stopped does not count";
  RunFor(10);
  EXPECT_EQ(AwayAlerts(), 2);
}

TEST_F(SafeguardsTest, ThreeFailedOrImplausibleReadingsInARowAreToldWithTheHint) {
  StartReading([](Settings& s) { s.captureInterval = 1; });
  windows_.screen.fill(Qt::black);  // nothing to read: a retry every 15 seconds
  RunFor(80);
  EXPECT_EQ(TroubleAlerts(), 0) << "two failures";
  RunFor(20);
  EXPECT_EQ(TroubleAlerts(), 1);
  RunFor(60);
  EXPECT_EQ(TroubleAlerts(), 1);

  OpenGame("190", "1234600000");
  RunFor(20);
  EXPECT_FALSE(cycle().Alerts().Active(AlertKind::RecognitionTrouble));
  // Implausible three times, none agreeing with the one before.
  OpenGame("190", "1934600000");
  RunFor(60);
  OpenGame("190", "1734600000");
  RunFor(20);
  OpenGame("170", "1234600000");
  RunFor(20);
  EXPECT_EQ(seen_.LogLines("認識疑義"), 3);
  EXPECT_EQ(TroubleAlerts(), 2);
}

TEST_F(SafeguardsTest, EveryReadingReachesTheAlertsEvenWithoutATickBetween) {
  StartReading();
  windows_.screen.fill(Qt::black);
  // Three manual captures in a row that read nothing, without a tick between.
  for (int i = 0; i < 3; ++i) PressCapture();
  EXPECT_EQ(std::tuple(seen_.LogLines("認識失敗"), TroubleAlerts()), std::tuple(3, 1));
  // Each says why, and the alert names the last reasons; so does the state
  // line (when the grab itself is sound) until a reading succeeds.
  EXPECT_EQ(seen_.LogLines("認識失敗  両方NG  レベル: 数字が読めません / 経験値: 数字が読めません"), 3);
  EXPECT_EQ(seen_.LogLines("（最後の失敗 レベル: 数字が読めません / 経験値: 数字が読めません）"), 1);
  OpenGame("190", "");
  PressCapture();
  EXPECT_TRUE(cycle().StateText().endsWith("認識NG（経験値: 数字が読めません）")) << cycle().StateText().toStdString();
  OpenGame("190", "1234600000");
  PressCapture();
  EXPECT_FALSE(cycle().StateText().contains("認識NG")) << cycle().StateText().toStdString();
}

TEST_F(SafeguardsTest, ReadingsThatKeepFailingUnderOneOfOurOwnWindowsAboveTheGameBlameIt) {
  struct Case {
    const char* what;
    bool compactOver, mainOver, blamed;
  };
  const Case cases[] = {
      {"both beside the area", false, false, false},
      {"the compact view (above the game) over it", true, false, true},
      {"the main window (behind the game) over it", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartReading();
    const CaptureRegion exp = settings().captureRegions[1];
    const QRect area(QPoint(100 + exp.sx, 50 + exp.sy), QSize(exp.ex, exp.ey));  // the game lies at (100, 50)
    const QRect over(area.center(), QSize(200, 100));
    const QRect touching(area.right() + 1, area.top(), 200, 100);  // its left edge right after the area's
    const std::vector<QRect> own{c.mainOver ? over : QRect(950, 50, 540, 500), c.compactOver ? over : touching};
    cycle().SetOwnWindows([&] { return own; });
    const WindowId main = windows_.Add(QStringLiteral("Tallymeter  For MapleStory"), own[0]);
    windows_.Raise(game_);
    const WindowId compact = windows_.Add(QStringLiteral("Tallymeter"), own[1]);
    windows_.foreground = game_;
    windows_.screen.fill(Qt::black);
    for (int i = 0; i < 3; ++i) PressCapture();
    EXPECT_EQ(std::tuple(TroubleAlerts(), seen_.LogLines(OwnWindowOverAreaText())), std::tuple(1, c.blamed ? 1 : 0));
    windows_.Remove(compact);
    windows_.Remove(main);
  }
}

// ---- the measurement continued after a crash

const QDateTime kTokyoStart(QDate(2026, 12, 5), QTime(14, 30, 0), Qt::OffsetFromUTC, 9 * 3600);

class ContinueTest : public SafeguardsTest {
 protected:
  // Runs to the first reading, then the program dies without Stop.
  void FirstReadingThenCrash() {
    // The player's clock runs in Tokyo, whatever the machine's zone.
    clock_.SetWallClock(kTokyoStart);
    StartReading();
    ASSERT_TRUE(QFile::exists(MeasurementStatePath(folder_.Path())));
  }
  // The machine restarted `minutes` later; the program comes up again.
  void Restart(int minutes) {
    cycle_.reset();  // it died: nothing of it runs meanwhile
    clock_.AdvanceSeconds(60LL * minutes);
    clock_.Reboot(5'000);
    boxes_.shown.clear();
    CycleTest::Restart();
  }
};

// はい measures the next reading from the saved one into the same file, and
// goes on monitoring; the time the question stood open counts in the rate.
TEST_F(ContinueTest, YesGoesOnMonitoringIntoTheSameFileFromTheSavedReading) {
  FirstReadingThenCrash();
  OpenGame("190", "1234600000");
  boxes_.whileOpen = [&] { clock_.AdvanceSeconds(8); };  // the player reads the question
  Restart(19);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_THAT(boxes_.shown[0].text.toStdString(), ::testing::HasSubstr("最終読取 12/05 14:30"));
  EXPECT_TRUE(cycle().Monitoring()) << "no 開始 needed";
  RunFor(20);
  // From 14:30:20 to 14:49:48 by the wall clock, though the tick count began
  // again: 1,168 seconds, 98.97 k/h.
  EXPECT_EQ(FileText(kLog), Lines(FileHeader(false),
                                  "12/05 14:49   190   1,234,600,000       32,110     19.4           98 "));
  cycle().Stop();
  EXPECT_FALSE(QFile::exists(MeasurementStatePath(folder_.Path()))) << "Stop ends it";
}

TEST_F(ContinueTest, AContinuedMeasurementWhoseFileHasGoneBeginsANewOneAndSaysSoOnce) {
  FirstReadingThenCrash();
  ASSERT_TRUE(QFile::remove(folder_.File(kLog)));
  OpenGame("190", "1234600000");
  Restart(3);
  RunFor(20);
  OpenGame("190", "1234700000");
  RunFor(20 * 60);
  const QString begun = QStringLiteral("log/給与明細202612051433.txt");
  EXPECT_EQ(FileText(begun),
            Lines(FileHeader(false), "12/05 14:33   190   1,234,600,000       32,110      3.3          577 ") +
                Lines("12/05 14:53   190   1,234,700,000      100,000     20.0          300 "));
  ASSERT_EQ(boxes_.shown.size(), 2u) << "the question, then one message";
  EXPECT_THAT(boxes_.shown[1].text.toStdString(), ::testing::HasSubstr("見つからない"));
}

TEST_F(ContinueTest, AContinuedMeasurementWritesToTheMonthOfEachLine) {
  clock_.SetWallClock(QDateTime(QDate(2026, 11, 30), QTime(23, 50)));
  StartReading([](Settings& s) { s.saveDistance = true; });
  OpenGame("190", "1234600000");
  Restart(15);  // into December
  RunFor(20);
  EXPECT_EQ(FileText("log/給与明細202611月.txt"), Lines(FileHeader(false)));
  EXPECT_EQ(FileText("log/給与明細202612月.txt"),
            Lines(FileHeader(false), "12/01 00:05   190   1,234,600,000       32,110     15.3          125 "));
}

TEST_F(ContinueTest, AMeasurementThatCannotBeKeptIsToldOncePerRun) {
  Start([](Settings& s) { s.captureInterval = 1; });
  ASSERT_TRUE(QDir().mkpath(MeasurementStatePath(folder_.Path())));  // nothing can be written there
  OpenGame("190", "1234567890");
  Run();
  for (const char* exp : {"1234600000", "1234700000", "1234800000"}) {
    RunFor(60);
    OpenGame("190", exp);
  }
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_THAT(boxes_.shown[0].text.toStdString(), ::testing::HasSubstr("再開できません"));
  EXPECT_EQ(seen_.LogLines("1,234,700,000"), 1) << "measuring goes on";
}

TEST_F(ContinueTest, NoStartsAfreshInANewFileAndLeavesNothingToContinue) {
  FirstReadingThenCrash();
  boxes_.answer = false;
  Restart(3);
  EXPECT_TRUE(boxes_.shown.size() == 1u && !QFile::exists(MeasurementStatePath(folder_.Path())));
  OpenGame("190", "1234600000");
  Run();
  RunFor(20);
  // The old file is left as it was.
  EXPECT_EQ(std::tuple(FileText("log/給与明細202612051433.txt"), FileText(kLog)),
            std::tuple(Lines(FileHeader(false)), Lines(FileHeader(false))));
}

TEST_F(ContinueTest, AStaleStateIsDroppedSilentlyAndADamagedOneIsSetAsideWithAMessage) {
  FirstReadingThenCrash();
  Restart(121);
  EXPECT_TRUE(boxes_.shown.empty() && !QFile::exists(MeasurementStatePath(folder_.Path()))) << "older than two hours";

  folder_.Write("TmMeasure.ini", "Tallymeter measurement 1\r\n2026120514 , ログファイル\r\n");
  Restart(0);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_THAT(boxes_.shown[0].text.toStdString(), ::testing::HasSubstr("退避しました"));
  EXPECT_TRUE(!QFile::exists(MeasurementStatePath(folder_.Path())) &&
              QFile::exists(MeasurementStatePath(folder_.Path()) + ".bad"));
  EXPECT_TRUE(cycle().LogWriter().LogStamp().isEmpty()) << "never trusted";
}

}  // namespace

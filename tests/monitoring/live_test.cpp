// The live readings between the timed captures, through the monitoring
// cycle on fakes: what they may not touch, the figures they give, the state
// line, the summary at Stop.
#include <QDir>

#include "cycle_fixture.h"

namespace {

// Level 100 needs 10,223,168; the player starts half-way.
constexpr int kLevel = 100;
constexpr std::int64_t kStartExp = 5'000'000;

class LiveTest : public CycleTest {
 public:
  // Also run as a program of its own beside the test's (each in its own
  // folder), so two runs can be compared.
  void TestBody() override {}

  void ShowExp(std::int64_t exp, bool inFront = true) {
    OpenGame(QString::number(kLevel), QString::number(exp), inFront);
  }
  QString LogFileBytes() {
    // The log files only: the history's file beside them holds live figures.
    const QStringList files =
        QDir(folder_.File(QStringLiteral("log"))).entryList({QStringLiteral("給与明細*")}, QDir::Files);
    if (files.size() != 1) return QStringLiteral("%1 log files").arg(files.size());
    return QString::fromLatin1(folder_.Read(QStringLiteral("log/") + files.first()).toHex());
  }

  // Ten minutes and more of play, 1,000 a tick, with a stretch behind other
  // windows, a misread counter and a level-up; Stop at the end.
  void PlayAndStop() {
    std::int64_t exp = 10'100'000;  // near the end of the level
    ShowExp(exp);
    Run();
    for (int tick = 0; tick < 90; ++tick) {
      exp += 1000;
      if (tick == 40) {
        OpenGame(QString::number(kLevel + 9), QString::number(exp));  // a misread level
      } else {
        ShowExp(exp, tick < 60 || tick > 70);
      }
      RunFor(10);
    }
    // A level-up, and play goes on: the guard, which doubts so large a gain,
    // sees the counter move and takes it.
    for (int tick = 0; tick < 6; ++tick) {
      OpenGame(QString::number(kLevel + 1), QString::number(2000 + 1000 * tick));
      RunFor(10);
    }
    cycle().Stop();
  }
};

TEST_F(LiveTest, ReadingsBetweenCapturesFeedTheFiguresWithoutBeepLogLineTraceOrDueTime) {
  Start([](Settings& s) { s.beepBeep = true; });
  std::int64_t exp = kStartExp;
  ShowExp(exp);
  Run();
  const QDateTime due = cycle().NextCaptureTime();
  const QStringList trace = TraceMessages();
  const int runFigures = seen_.figureUpdates;
  RunFor(10);  // the first tick: a live reading only
  EXPECT_EQ(std::tuple(windows_.beeps, cycle().NextCaptureTime(), seen_.log, TraceMessages(), seen_.figureUpdates),
            std::tuple(0, due, ScreenHeader() + "\r\n", trace, runFigures + 1));
  EXPECT_TRUE(cycle().Capture(0).isNull()) << "the capture pictures are the timed capture's";

  for (int tick = 0; tick < 60; ++tick) {
    exp += 1000;  // 100 a second: 360 k/h
    ShowExp(exp);
    RunFor(10);
  }
  EXPECT_EQ(windows_.beeps, 1) << "only the timed capture beeps";
  // From the reading at Run: the first 10 seconds without a gain were play too.
  const SessionFigures& f = seen_.figures;
  // 5,060,000 of 10,223,168 done.
  EXPECT_EQ(std::tuple(f.shortRate, f.longRate, f.wholeRate, f.gained, f.activeMs, f.progressPercent, f.misreads),
            std::tuple(354, 354, 354, 60'000, 610'000, 49.4, 0));
  // The tick at 20 s made the timed capture, whose reading the panel shows, and no live reading.
  EXPECT_EQ(seen_.figureUpdates, runFigures + 61);

  // Behind another window: no reading, no redraw, and the state line counts.
  CoverGame();
  RunFor(60);
  EXPECT_EQ(seen_.figureUpdates, runFigures + 61);
  EXPECT_EQ(cycle().StateText(), QStringLiteral("ゲームが他のウィンドウに隠れています (待機 00:50)"));

  // Switched off in the options: the ticks look at the game and read nothing.
  settings().liveSampling = false;
  windows_.foreground = game_;
  const std::size_t grabs = windows_.grabs.size();
  RunFor(60);
  EXPECT_EQ(std::tuple(windows_.grabs.size(), seen_.figureUpdates), std::tuple(grabs, runFigures + 61));
  EXPECT_TRUE(cycle().StateText().startsWith(QStringLiteral("監視中")));
}

TEST_F(LiveTest, TheLogFileIsByteForByteTheSameWithAndWithoutLiveReadings) {
  // The level-up is told when a reading first shows it: a live one sooner.
  LiveTest withLive;
  LiveTest without;
  for (LiveTest* run : {&withLive, &without}) {
    run->Start([live = run == &withLive](Settings& s) {
      s.captureInterval = 1;
      s.liveSampling = live;
      s.announce = false;
    });
    run->PlayAndStop();
  }

  EXPECT_EQ(withLive.LogFileBytes(), without.LogFileBytes());
  EXPECT_GT(without.LogFileBytes().size(), 1000) << "the run wrote lines";
  EXPECT_EQ(withLive.TraceMessages(), without.TraceMessages());
  EXPECT_GT(withLive.windows_.grabs.size(), without.windows_.grabs.size());

  // On screen, live readings add only the summary at Stop.
  EXPECT_EQ(std::tuple(withLive.cycle().Figures().misreads, withLive.cycle().Figures().levelsGained), std::tuple(1, 1));
  const QString summary = withLive.cycle().Session().SummaryLine();
  EXPECT_EQ(withLive.seen_.log, without.seen_.log + summary + "\r\n");
  EXPECT_TRUE(summary.startsWith(QStringLiteral("セッション 12/05 14:30 - 12/05 14:46  稼働 ")) &&
              summary.endsWith(QStringLiteral("レベル +1")));
}

TEST_F(LiveTest, EverySessionCountsFromTheReadingAtItsRunAndItsSummarySaysFromWhichReadingToWhich) {
  Start();
  std::int64_t exp = kStartExp;
  ShowExp(exp);
  Run();
  EXPECT_TRUE(seen_.figures.hasReading) << "read at 開始";
  clock_.AdvanceSeconds(4);
  ShowExp(exp += 500);  // gained before the first tick
  RunFor(10);
  EXPECT_EQ(seen_.figures.gained, 500);
  RunFor(20);
  ShowExp(exp += 700);
  RunFor(30);
  cycle().Stop();
  EXPECT_TRUE(seen_.log.endsWith(QStringLiteral("獲得Exp 1,200 (14:30:00〜14:31:00の読取)  時給(全体) 108 k/h  レベル +0\r\n")))
      << seen_.log.toStdString();
  EXPECT_EQ(seen_.figures.gained, 1200) << "still on show after Stop";

  // Run again: what was gained while stopped is no part of the new session.
  ShowExp(exp += 1'000'000);
  Run();
  EXPECT_EQ(std::tuple(seen_.figures.gained, seen_.figures.shortRate), std::tuple(0, std::nullopt));
  RunFor(10);
  ShowExp(exp += 500);
  RunFor(20);
  EXPECT_EQ(seen_.figures.gained, 500);
  // A gain only a timed capture read is in the file, so in the summary too.
  ShowExp(exp += 300);
  PressCapture();
  cycle().Stop();
  EXPECT_EQ(seen_.LogLines(QStringLiteral("獲得Exp 800 (")), 1) << seen_.log.toStdString();
}

TEST_F(LiveTest, ALiveReadingTheGuardRefusesIsAMisreadAndNeverAGainAndThreeMinutesWithoutOneAreIdle) {
  Start();
  std::int64_t exp = 5'123'456;
  ShowExp(exp);
  Run();
  for (int tick = 0; tick < 6; ++tick) {
    ShowExp(exp += 1000);
    RunFor(10);
  }
  ShowExp(exp % 1'000'000);  // the leading digit missed: a loss of five million
  RunFor(10);
  EXPECT_EQ(std::tuple(seen_.figures.misreads, seen_.figures.gained), std::tuple(1, 6000));
  EXPECT_GE(seen_.figures.shortRate.value_or(0), 0);
  ShowExp(exp += 1000);
  RunFor(10);  // risen at 14:31:20
  EXPECT_EQ(seen_.figures.gained, 7000);

  // Three minutes without a gain are idle since the last rise.
  RunFor(3 * 60);
  EXPECT_FALSE(seen_.figures.idleSince) << "three minutes are still play";
  RunFor(10);
  EXPECT_EQ(seen_.figures.idleSince, QDateTime(QDate(2026, 12, 5), QTime(14, 31, 20)));
  ShowExp(exp += 1000);
  RunFor(10);
  EXPECT_FALSE(seen_.figures.idleSince);

  // Readings that fail are told from the first, with the area, until one reads.
  OpenGame(QString::number(kLevel), QStringLiteral("0"));
  RunFor(20);
  EXPECT_EQ(std::tuple(seen_.figures.failingSince, seen_.figures.levelFailing, seen_.figures.expFailing),
            std::tuple(QDateTime(QDate(2026, 12, 5), QTime(14, 34, 50)), false, true));
  ShowExp(exp += 1000);
  RunFor(10);
  EXPECT_FALSE(seen_.figures.failingSince);
}

}  // namespace

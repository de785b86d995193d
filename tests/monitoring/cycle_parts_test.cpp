// The parts the cycle joins, each alone: the replay of a scan's lag, the
// manual commands' countdowns, the watch on grabs that show no game, and
// the reasons of failed readings, the record of a measurement, and where
// the game was seen.
#include <gtest/gtest.h>

#include "monitoring/game_presence.h"
#include "monitoring/grab_trouble.h"
#include "monitoring/manual_waits.h"
#include "monitoring/measurement_book.h"
#include "monitoring/reading_failures.h"
#include "monitoring/scan_replay.h"
#include "support/fakes.h"
#include "support/qstring_printer.h"

namespace {

TEST(ScanReplay, ShowsEachPartOneLagAfterTheLastAndEndsOnceUnlessStopped) {
  FakeClock clock;
  ScanReplay replay;
  const RecognitionHooks hooks = replay.Recorder();
  hooks.caption(0, QStringLiteral("認識中…"));
  hooks.lagWait();
  hooks.preview(1, 7, 12);
  hooks.lagWait();
  hooks.caption(0, QStringLiteral("152"));
  std::vector<std::pair<std::int64_t, QString>> shown;
  int done = 0;
  const auto show = [&](const ScanReplay::Shown& s) {
    shown.emplace_back(clock.MonotonicMs(), s.digit >= 0 ? QString::number(s.digit) : s.caption);
  };
  const std::int64_t start = clock.MonotonicMs();
  replay.Play(clock, 50, show, [&] { ++done; });
  EXPECT_TRUE(replay.Playing() && shown.size() == 1u) << "the part before the first wait at once";
  clock.Advance(1000);
  EXPECT_EQ(shown, (std::vector<std::pair<std::int64_t, QString>>{
                       {start, "認識中…"}, {start + 50, "7"}, {start + 100, "152"}}));
  EXPECT_EQ(std::tuple(done, replay.Playing(), replay.Waits()), std::tuple(1, false, 2u));

  replay.Play(clock, 50, show, [&] { ++done; });
  replay.Stop();
  clock.Advance(1000);
  EXPECT_EQ(std::tuple(done, shown.size(), clock.Pending()), std::tuple(1, 4u, 0u)) << "stopped: nothing more";

  // A window that is shown something may stop it there.
  replay.Play(
      clock, 50, [&](const ScanReplay::Shown&) { replay.Stop(); }, [&] { ++done; });
  clock.Advance(1000);
  EXPECT_EQ(done, 1);
}

TEST(ManualWaits, RunSideBySideTheLatestIsToldAndTheEndDropsThemAll) {
  FakeClock clock;
  ManualWaits waits(clock);
  std::vector<QString> ran;
  waits.Start(QStringLiteral("キャプチャ"), 10'000, [&] { ran.push_back(QStringLiteral("キャプチャ")); });
  clock.Advance(2'500);
  waits.Start(QStringLiteral("プリントスクリーン"), 1'000,
              [&] { ran.push_back(QStringLiteral("プリントスクリーン")); });
  EXPECT_EQ(std::tuple(waits.Latest()->command, waits.SecondsLeft(QStringLiteral("キャプチャ"))),
            std::tuple(QStringLiteral("プリントスクリーン"), 8))
      << "7.5 seconds left, rounded up";
  clock.Advance(1'000);
  EXPECT_EQ(std::tuple(ran, waits.Latest()->command),
            std::tuple(std::vector<QString>{"プリントスクリーン"}, QStringLiteral("キャプチャ")));
  waits.EndAll();
  clock.Advance(60'000);
  EXPECT_TRUE(ran.size() == 1u && !waits.Any() && clock.Pending() == 0u);
}

TEST(GrabTroubleTracker, OneColourGrabsAreToldOncePerRunButNotWhereTheAreasMustBePickedAgain) {
  QImage black(20, 10, QImage::Format_RGB32);
  black.fill(Qt::black);
  const std::array<QImage, 2> grab{black, black};
  GrabTroubleTracker tracker;
  int told = 0;
  int changes = 0;
  for (int run = 0; run < 2; ++run) {
    tracker.Reset();
    for (int i = 0; i < 2 * GrabWatch::kInARow; ++i) {
      const GrabTroubleTracker::Outcome outcome = tracker.Feed(grab, std::nullopt, false);
      told += outcome.toTell == GrabTrouble::Uniform;
      changes += outcome.changed;
    }
  }
  EXPECT_EQ(std::tuple(told, changes, tracker.Trouble()), std::tuple(2, 2, GrabTrouble::Uniform));
  tracker.Reset();
  for (int i = 0; i < 2 * GrabWatch::kInARow; ++i) EXPECT_FALSE(tracker.Feed(grab, std::nullopt, true).toTell);
  EXPECT_EQ(tracker.Trouble(), GrabTrouble::None);
}

TEST(ReadingFailures, ARowIsDatedFromItsFirstFailureAndTheLevelIsTaughtFirst) {
  const QDateTime t0(QDate(2026, 12, 5), QTime(14, 30));
  ReadingFailures failures;
  EXPECT_TRUE(failures.NoteAreasRead(true, false, t0)) << "a row begins";
  EXPECT_FALSE(failures.NoteAreasRead(true, false, t0.addSecs(60))) << "the same row";
  EXPECT_TRUE(failures.NoteAreasRead(false, false, t0.addSecs(120))) << "another area fails too";
  EXPECT_EQ(std::tuple(failures.FailingSince(), failures.LevelFailing(), failures.ExpFailing()),
            std::tuple(std::optional(t0), true, true));
  EXPECT_TRUE(failures.NoteAreasRead(true, true, t0.addSecs(180)) && !failures.FailingSince());

  QImage level(8, 8, QImage::Format_RGB32);
  level.fill(Qt::red);
  const QImage exp = level.copy(0, 0, 4, 4);
  failures.Read({QStringLiteral("数字が読めません"), QStringLiteral("数字が読めません")}, {level, exp});
  failures.Read({QString(), QStringLiteral("未登録の数字")}, {QImage(), QImage()});
  EXPECT_EQ(failures.FailingArea(), 1);
  EXPECT_TRUE(failures.FailedCapture(1).isNull() && failures.FailedCapture(0) == level)
      << "each area keeps the capture it last failed on";
  failures.ForgetReasons();
  EXPECT_EQ(failures.FailingArea(), std::nullopt);
}

// A measurement a crash ended goes on with its record, its file and its
// memo; a new one starts from nothing; a record is kept once.
TEST(MeasurementBook, AContinuedMeasurementKeepsWhatItHadAndEachEndsOnce) {
  const QDateTime t0(QDate(2026, 12, 5), QTime(14, 30));
  MeasurementRecord before;
  before.start = t0.addSecs(-3600);
  before.end = t0.addSecs(-600);
  before.levelFrom = before.levelTo = 190;
  before.logFile = QStringLiteral("給与明細202612051330.txt");
  before.memo = QStringLiteral("洞窟");
  MeasurementBook book;
  book.Continue(before);
  book.Begin(t0, /*continuing=*/true);
  book.NoteLogFile(QStringLiteral("other.txt"));
  const std::optional<MeasurementRecord> kept = book.End(SessionFigures(), {}, t0.addSecs(60));
  ASSERT_TRUE(kept.has_value()) << "nothing read since, the carried record ends now";
  EXPECT_EQ(std::tuple(kept->start, kept->end, kept->logFile, book.Memo()),
            std::tuple(before.start, t0.addSecs(60), before.logFile, QStringLiteral("洞窟")));
  EXPECT_FALSE(book.End(SessionFigures(), {}, t0.addSecs(120))) << "kept once";

  book.Begin(t0.addSecs(180), /*continuing=*/false);
  EXPECT_FALSE(book.SoFar(SessionFigures(), {}, t0.addSecs(240))) << "a new measurement carries nothing";
}

// A game behind is dated from the first look that found it so; a game
// gone while a measurement waits is timed until it is back; the box that
// says it is gone comes again only once it was seen since.
TEST(GamePresence, DatesTheGameBehindAndTimesTheGameGoneWhileAMeasurementWaits) {
  GamePresence game;
  game.Saw(GameSeen::Behind, AreasSeen::Covered, 1'000, true);
  game.Saw(GameSeen::Behind, std::nullopt, 5'000, true);
  EXPECT_EQ(std::tuple(game.BehindSinceMs(), game.Hidden()),
            std::tuple(std::optional<std::int64_t>(1'000), std::nullopt));
  game.TellMissing(true);
  EXPECT_TRUE(game.Saw(GameSeen::Missing, std::nullopt, 9'000, false).goneForMs == std::nullopt && !game.GoneSinceMs())
      << "no measurement waits for it";
  EXPECT_TRUE(game.Saw(GameSeen::Missing, std::nullopt, 10'000, true).waitBegan);
  EXPECT_FALSE(game.Saw(GameSeen::Missing, std::nullopt, 20'000, true).waitBegan) << "the wait began once";
  EXPECT_TRUE(game.MissingTold());
  EXPECT_EQ(game.Saw(GameSeen::InFront, std::nullopt, 70'000, true).goneForMs, 60'000);
  EXPECT_FALSE(game.MissingTold() || game.GoneSinceMs());
  game.Forget();
  EXPECT_EQ(std::tuple(game.Game(), game.BehindSinceMs()), std::tuple(GameSeen::Unknown, std::nullopt));
}

}  // namespace

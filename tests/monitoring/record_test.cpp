// The record each measurement leaves in the history, however it ends; the
// memo kept with it and offered again; a level-up and the goal told once.
#include <QDir>

#include "cycle_fixture.h"
#include "history/sessions_file.h"
#include "monitoring/announcements.h"
#include "persistence/config_file.h"
#include "persistence/measurement_state.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 5), QTime(14, 30, 0));
const QString kMemo = QStringLiteral("ヘネシス, 北の \"狩場\"");

class RecordTest : public CycleTest {
 protected:
  // The player notes the hunting ground and plays ten minutes at level 100,
  // 10,000 a tick, captures due every minute.
  void Play(std::int64_t& exp, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
      exp += 10'000;
      OpenGame("100", QString::number(exp));
      RunFor(10);
    }
  }
  void StartAndPlay(std::int64_t& exp, bool live = true) {
    clock_.SetWallClock(kStart);
    Start([live](Settings& s) {
      s.captureInterval = 1;
      s.liveSampling = live;
    });
    cycle().SetMemo(QStringLiteral("  ") + kMemo + QStringLiteral("\r\n"));  // as typed
    OpenGame("100", QString::number(exp));
    Run();
    Play(exp, 60);
  }
  std::vector<MeasurementRecord> Records() const { return ReadSessionsFile(folder_.Path()).records; }
};

TEST_F(RecordTest, EveryWayAMeasurementEndsLeavesOneRecordWithItsMemo) {
  // Ticks every 10 seconds, captures at 20 seconds and every minute after:
  // the live readings saw 600,000 gained at ten minutes.
  const auto continued = [this](std::int64_t& exp) {
    cycle().End(false);  // as when the patterns are gone: left to be continued
    EXPECT_TRUE(Records().empty());
    clock_.AdvanceSeconds(5 * 60);
    clock_.Reboot(5'000);
    Restart();  // the question is answered yes
    EXPECT_EQ(cycle().Memo(), kMemo) << "the memo comes back with the measurement";
    Play(exp, 30);
    cycle().Stop();
  };
  const struct {
    const char* name;
    std::function<void(std::int64_t&)> end;
    double gained;
    QDateTime endsAt;
    bool live = true;
  } cases[] = {
      {"停止", [this](std::int64_t&) { cycle().Stop(); }, 600'000, kStart.addSecs(600)},
      // Without live readings the timed captures make the record: those at 0:20 and 9:20.
      {"停止, no live readings", [this](std::int64_t&) { cycle().Stop(); }, 540'000, kStart.addSecs(600), false},
      {"the game lost",
       [this](std::int64_t&) {
         settings().gameWaitMinutes = 0;
         CloseGame();
         RunFor(20);  // the capture due at 10:20 finds no game, and does not wait for it
       },
       600'000, kStart.addSecs(620)},
      {"Exit", [this](std::int64_t&) { cycle().End(true); }, 600'000, kStart.addSecs(600)},
      {"Stop twice, Exit after",
       [this](std::int64_t&) {
         cycle().Stop();
         cycle().Stop();
         cycle().End(true);
       },
       600'000, kStart.addSecs(600)},
      // The whole measurement, as its log file has it: the gain while the
      // program was down counts, as the game gave it then.
      {"the program gone, continued, then 停止", continued, 900'000, kStart.addSecs(600 + 300 + 300)},
      // From the capture at 0:20 to the one at 19:20 (4:20 after the restart).
      {"the same without live readings", continued, 840'000, kStart.addSecs(600 + 300 + 300), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(folder_.File("log")).removeRecursively();
    std::int64_t exp = 5'000'000;
    StartAndPlay(exp, c.live);
    c.end(exp);
    const std::vector<MeasurementRecord> records = Records();
    ASSERT_EQ(records.size(), 1u);
    const MeasurementRecord& r = records[0];
    EXPECT_EQ(std::tuple(r.start, r.end, r.memo, r.levelFrom, r.levelTo, r.gained, r.logFile),
              std::tuple(kStart, c.endsAt, kMemo, 100, 100, c.gained, QStringLiteral("給与明細202612051430.txt")));
    EXPECT_FALSE(QFile::exists(MeasurementStatePath(folder_.Path())));
  }
}

// The history's file cannot be written here: that is told once in the run,
// and the memos are kept all the same.
TEST_F(RecordTest, TheMemoJoinsTheRecentOnesInTheSettingsFileAndNothingElseUnsavedIsSaved) {
  ASSERT_TRUE(QDir().mkpath(SessionsFilePath(folder_.Path())));  // a folder where the file goes
  clock_.SetWallClock(kStart);
  Start([](Settings& s) { s.recentMemos = {"森", "洞窟"}; });
  ASSERT_EQ(ConfigFile("SAVE", settings(), folder_.Path()), std::nullopt);
  settings().alertMinutes = 30;  // changed in the options dialog, not saved
  for (const QString& memo : {QStringLiteral("洞窟"), kMemo}) {
    cycle().SetMemo(memo);
    std::int64_t exp = 5'000'000;
    OpenGame("100", QString::number(exp));
    Run();
    Play(exp, 3);
    cycle().Stop();
  }
  EXPECT_EQ(std::tuple(boxes_.shown.size(), TraceMessages().filter(" Measurement record not written").size()),
            std::tuple(1u, 2));
  const QStringList expected{kMemo, "洞窟", "森"};
  EXPECT_EQ(settings().recentMemos, expected);
  Settings stored;
  ASSERT_EQ(ConfigFile("READ", stored, folder_.Path()), std::nullopt);
  EXPECT_EQ(std::tuple(stored.recentMemos, stored.alertMinutes), std::tuple(expected, 5));
}

// ---- good news, told once

TEST(Announcer, ALevelUpAndTheGoalAreToldOnceAndNeverForWherePlayStands) {
  const struct {
    const char* name;
    std::vector<std::int32_t> levels;
    std::int32_t goal;
    std::vector<QString> told;
  } cases[] = {
      {"level-ups", {100, 101, 101, 102}, 0, {"Lv101 にレベルアップしました", "Lv102 にレベルアップしました"}},
      {"no reading yet, then the start", {0, 100, 101}, 0, {"Lv101 にレベルアップしました"}},
      {"a jump is where play goes on from", {100, 104, 105}, 0, {"Lv105 にレベルアップしました"}},
      {"a misread put right is told once", {100, 101, 100, 101}, 0, {"Lv101 にレベルアップしました"}},
      {"the goal crossed", {249, 250, 251}, 250,
       {"Lv250 にレベルアップしました", "目標の Lv250 に到達しました", "Lv251 にレベルアップしました"}},
      {"the goal reached before the start", {250, 251}, 250, {"Lv251 にレベルアップしました"}},
      {"the goal passed by two levels", {248, 250}, 249, {"Lv250 にレベルアップしました", "目標の Lv249 に到達しました"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Announcer announcer;
    announcer.Start();
    std::vector<QString> told;
    for (const std::int32_t level : c.levels) {
      for (const Announcement& a : announcer.Feed(level, c.goal)) told.push_back(a.text);
    }
    EXPECT_EQ(told, c.told);
  }
}

TEST_F(RecordTest, ALevelUpAndTheGoalGoToTheScreenOnceAndCanBeSwitchedOff) {
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on);
    Start([on](Settings& s) {
      s.goalLevel = 101;
      s.announce = on;
    });
    OpenGame("100", "10200000");
    Run();
    RunFor(30);
    for (int i = 0; i < 2; ++i) {  // Stop and Run again at the new level: no news
      OpenGame("101", "50000");
      RunFor(30);
      cycle().Stop();
      Run();
    }
    EXPECT_EQ(std::tuple(seen_.LogLines("お知らせ  Lv101 にレベルアップしました"),
                         seen_.LogLines("お知らせ  目標の Lv101 に到達しました"), TraceMessages().filter(" Announce ").size()),
              std::tuple(on ? 1 : 0, on ? 1 : 0, on ? 2 : 0));
    cycle().Stop();
    QFile::remove(folder_.File("debug.txt"));
  }
}

}  // namespace

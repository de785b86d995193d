#include "history/goal.h"

#include <gtest/gtest.h>

#include "accounting/exp_table.h"
#include "support/qstring_printer.h"

namespace {

const QDate kToday(2026, 12, 5);

double Slot(int n) { return *CompiledExpTable()->Total(n + 1, 0); }

}  // namespace

TEST(Goal, ExperienceNeededAcrossLevelUpsAndTheTimesAtEachRate) {
  const struct {
    Goal goal;
    std::int32_t level;
    double exp;
    double needed;
    bool reached;
    bool unknown;
  } cases[] = {
      {{12, {}}, 10, 1'700, 7'423 - 5'047, false, false},  // the rest of 10, all of 11
      {{11, {}}, 10, 1'700, 16, false, false},
      {{150, {}}, 149, 0, Slot(149) - Slot(148), false, false},
      {{200, {}}, 199, 5, Slot(199) - Slot(198) - 5, false, false},  // the table's last filled slot
      {{120, {}}, 120, 5, 0, true, false},
      {{120, {}}, 125, 0, 0, true, false},
      {{400, {}}, 150, 0, 0, false, true},  // beyond the table: 不明
      {{250, {}}, 0, 0, 0, false, true},    // no reading yet: 不明, not "0 Exp" and "1日 0 Exp"
  };
  for (const auto& c : cases) {
    const GoalFigures f = GoalProgress(c.goal, c.level, c.exp, std::nullopt, {}, kToday);
    EXPECT_EQ(std::tuple(f.set, f.needed, f.reached, f.unknown), std::tuple(true, c.needed, c.reached, c.unknown))
        << c.goal.level << " from " << c.level;
  }
  EXPECT_FALSE(GoalProgress({}, 10, 0, 100, {}, kToday).set);

  // 7,000,000 to go: 3.5 hours at 2,000 k/h, 7 hours at 1,000 k/h, and at
  // 2,000,000 a day it lands in 4 days; by a date 2 days away (today
  // counts) 3,500,000 a day.
  const Goal goal{121, QDate(2026, 12, 6)};
  const double exp = Slot(120) - Slot(119) - 7'000'000;
  const GoalFigures f = GoalProgress(goal, 120, exp, 2000, RecentPace{1000, 2'000'000}, kToday);
  EXPECT_EQ(std::tuple(f.needed, f.hoursAtHourRate, f.hoursAtPaceRate, f.landing, f.daysLeft, f.neededPerDay),
            std::tuple(7'000'000, 3.5, 7, QDate(2026, 12, 9), 2, 3'500'000));
  const GoalTexts t = MakeGoalTexts(goal, f);
  EXPECT_EQ(QStringList({t.needed, t.atHourRate, t.atPaceRate, t.landing, t.perDay}),
            QStringList({"Lv121まで 7,000,000 Exp", "1時間時給で 3時間30分", "7日平均で 7時間0分", "到達予定 2026/12/09",
                         "1日 3,500,000 Exp (2日)"}));

  const GoalFigures late = GoalProgress(goal, 120, exp, std::nullopt, {}, kToday.addDays(2));
  const GoalTexts lateTexts = MakeGoalTexts(goal, late);
  EXPECT_EQ(std::tuple(late.datePassed, late.hoursAtHourRate, lateTexts.perDay, lateTexts.landing),
            std::tuple(true, std::nullopt, "2026/12/06 を過ぎました", "到達予定 —"));
  EXPECT_EQ(MakeGoalTexts({400, {}}, GoalProgress({400, {}}, 150, 0, 10, {}, kToday)).needed, "Lv400まで 不明");
}

TEST(Goal, PaceOfTheLastSevenDaysOfRecords) {
  const QDateTime now(kToday, QTime(12, 0));
  const auto record = [&](double daysAgo, double gained, std::int64_t activeMs) {
    MeasurementRecord r;
    r.end = now.addSecs(static_cast<qint64>(-daysAgo * 86400));
    r.start = r.end.addMSecs(-activeMs);
    r.gained = gained;
    r.activeMs = activeMs;
    return r;
  };
  const std::vector<MeasurementRecord> records{record(0.5, 7'000'000, 7'200'000), record(6.9, 7'000'000, 3'600'000),
                                               record(7.1, 99'000'000, 1'000)};
  const RecentPace pace = PaceOfRecords(records, now);
  EXPECT_EQ(std::tuple(pace.rate, pace.gainedPerDay), std::tuple(4666, 2'000'000));
  EXPECT_FALSE(PaceOfRecords({}, now).rate);
}

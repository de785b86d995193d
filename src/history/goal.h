#pragma once
// A target level, optionally by a date: how much experience is still
// needed (across level-ups, by the experience table), how long that takes
// at the current 1-hour rate and at the average rate of the last 7 days of
// records, the day it lands on at the last 7 days' pace, and with a date
// the experience needed per day. Pure: the live panel and the compact view
// only show the texts.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "accounting/exp_table.h"
#include "history/measurement_record.h"
#include "persistence/settings.h"

struct Goal {
  std::int32_t level = 0;  // 0: no goal
  QDate date;              // invalid: no date
};

// The goal kept in the settings (a date is kept as yyyymmdd, 0 for none).
Goal GoalOfSettings(const Settings& settings);
std::int32_t GoalDateValue(const QDate& date);

// The play of the last days, from the records.
struct RecentPace {
  std::optional<double> rate;  // k/h over their active time
  double gainedPerDay = 0;     // what they gained, spread over the days
};
// Records that ended within `days` days before `now`.
inline constexpr int kPaceDays = 7;
RecentPace PaceOfRecords(const std::vector<MeasurementRecord>& records, const QDateTime& now, int days = kPaceDays);

struct GoalFigures {
  bool set = false;      // a target level is chosen
  bool unknown = false;  // no reading yet, or the target or the current level lies beyond the experience table
  bool reached = false;  // the current level is the target or above
  double needed = 0;     // experience still to gain
  std::optional<double> hoursAtHourRate;  // playing time at the current 1-hour rate
  std::optional<double> hoursAtPaceRate;  // at the last 7 days' average rate
  std::optional<QDate> landing;           // at the last 7 days' daily gain
  // With a date: days left (today counts) and experience per day.
  std::optional<int> daysLeft;
  std::optional<double> neededPerDay;
  bool datePassed = false;
};

// `level` and `exp`: the last reading (level 0: none yet). `hourRate`: the
// live 1-hour rate in k/h. The experience still needed comes from `table`.
GoalFigures GoalProgress(const Goal& goal, std::int32_t level, double exp, const std::optional<double>& hourRate,
                         const RecentPace& pace, const QDate& today, const ExpTable& table = *CompiledExpTable());

struct GoalTexts {
  bool shown = false;  // a goal is set
  QString needed;      // "Lv250まで 12,345,678 Exp", "Lv250 達成", "Lv250まで 不明"
  QString atHourRate;  // "1時間時給で 3時間10分"
  QString atPaceRate;  // "7日平均で 4時間05分"
  QString landing;     // "到達予定 2027/01/15"
  QString perDay;      // "1日 1,234,567 Exp"; empty without a date
};
GoalTexts MakeGoalTexts(const Goal& goal, const GoalFigures& figures);

// The texts on one line, for the live panel ("目標 —" without a goal).
QString GoalLine(const GoalTexts& texts);

#include "base/display_text.h"
#include "history/goal.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

#include "accounting/session_model.h"

namespace {

// The texts' context for the translator.
struct GoalProgress {
  Q_DECLARE_TR_FUNCTIONS(GoalProgress)
};

QString Dash() { return QStringLiteral("—"); }

// `caption` holds %1 where the time goes.
QString HoursText(const QString& caption, const std::optional<double>& hours) {
  if (!hours) return caption.arg(Dash());
  // Whole minutes, rounded up: "0分" would promise what has not come yet.
  const double minutes = std::ceil(std::min(*hours, 1e9) * 60);
  return caption.arg(DurationText(static_cast<std::int64_t>(minutes) * 60000));
}

}  // namespace

Goal GoalOfSettings(const Settings& settings) {
  Goal goal;
  goal.level = std::max(0, settings.goalLevel);
  if (settings.goalDate > 0) {
    goal.date = QDate(settings.goalDate / 10000, settings.goalDate / 100 % 100, settings.goalDate % 100);
  }
  return goal;
}

std::int32_t GoalDateValue(const QDate& date) {
  return date.isValid() ? date.year() * 10000 + date.month() * 100 + date.day() : 0;
}

RecentPace PaceOfRecords(const std::vector<MeasurementRecord>& records, const QDateTime& now, int days) {
  const qint64 until = WallClockMs(now);
  const qint64 since = until - days * qint64{86'400'000};
  double gained = 0;
  std::int64_t activeMs = 0;
  for (const MeasurementRecord& r : records) {
    const qint64 end = WallClockMs(r.end);
    if (end <= since || end > until) continue;
    gained += r.gained;
    activeMs += r.activeMs;
  }
  RecentPace pace;
  pace.rate = RatePerHourK(gained, activeMs);
  pace.gainedPerDay = days > 0 ? gained / days : 0;
  return pace;
}

GoalFigures GoalProgress(const Goal& goal, std::int32_t level, double exp, const std::optional<double>& hourRate,
                         const RecentPace& pace, const QDate& today, const ExpTable& table) {
  GoalFigures f;
  f.set = goal.level > 0;
  if (!f.set) return f;
  if (level <= 0) {
    // No reading yet: nothing to measure the way from.
    f.unknown = true;
    return f;
  }
  if (level >= goal.level) {
    f.reached = true;
    return f;
  }
  const std::optional<double> needed = table.Gain(level, exp, goal.level, 0);
  if (!needed) {
    f.unknown = true;
    return f;
  }
  f.needed = std::max(0.0, *needed);
  const auto hoursAt = [&](const std::optional<double>& rate) -> std::optional<double> {
    if (!rate || *rate <= 0) return std::nullopt;
    return f.needed / (*rate * 1000);
  };
  f.hoursAtHourRate = hoursAt(hourRate);
  f.hoursAtPaceRate = hoursAt(pace.rate);
  if (pace.gainedPerDay > 0) {
    const double days = std::ceil(f.needed / pace.gainedPerDay);
    if (days < 36500) f.landing = today.addDays(static_cast<qint64>(days));
  }
  if (goal.date.isValid()) {
    const qint64 left = today.daysTo(goal.date) + 1;  // today still counts
    f.datePassed = left < 1;
    if (!f.datePassed) {
      f.daysLeft = static_cast<int>(left);
      f.neededPerDay = f.needed / static_cast<double>(left);
    }
  }
  return f;
}

GoalTexts MakeGoalTexts(const Goal& goal, const GoalFigures& f) {
  GoalTexts t;
  t.shown = f.set;
  if (!f.set) return t;
  const QString target = QStringLiteral("Lv%1").arg(goal.level);
  if (f.reached) {
    t.needed = GoalProgress::tr("%1 達成").arg(target);
    return t;
  }
  if (f.unknown) {
    t.needed = GoalProgress::tr("%1まで 不明").arg(target);
    return t;
  }
  t.needed = GoalProgress::tr("%1まで %2 Exp").arg(target, GroupedNumber(f.needed));
  t.atHourRate = HoursText(GoalProgress::tr("1時間時給で %1"), f.hoursAtHourRate);
  t.atPaceRate = HoursText(GoalProgress::tr("7日平均で %1"), f.hoursAtPaceRate);
  t.landing = GoalProgress::tr("到達予定 %1").arg(f.landing ? f.landing->toString(QStringLiteral("yyyy/MM/dd")) : Dash());
  if (goal.date.isValid()) {
    t.perDay = f.datePassed ? GoalProgress::tr("%1 を過ぎました").arg(goal.date.toString(QStringLiteral("yyyy/MM/dd")))
                            : GoalProgress::tr("1日 %1 Exp (%2日)")
                                  .arg(GroupedNumber(std::ceil(f.neededPerDay.value_or(0))))
                                  .arg(f.daysLeft.value_or(0));
  }
  return t;
}

QString GoalLine(const GoalTexts& t) {
  if (!t.shown) return GoalProgress::tr("目標 — (オプションで設定)");
  QStringList parts{GoalProgress::tr("目標 %1").arg(t.needed)};
  for (const QString* part : {&t.atHourRate, &t.atPaceRate, &t.landing, &t.perDay}) {
    if (!part->isEmpty()) parts << *part;
  }
  return parts.join(QStringLiteral("  "));
}

#include "history/history_view.h"

#include <gtest/gtest.h>

#include "history/history_chart.h"
#include "support/qstring_printer.h"

namespace {

constexpr std::int64_t kHour = 3'600'000;

// Sunday 2026-12-06 and Monday 2026-12-07 lie in different weeks.
MeasurementRecord Record(int day, int hour, double gained, std::int64_t activeMs, const QString& memo) {
  const QDateTime start(QDate(2026, 12, day), QTime(hour, 0));
  return MeasurementRecord{start, start.addMSecs(activeMs), activeMs, 150, 150, gained,
                           RatePerHourK(gained, activeMs), RatePerHourK(gained, activeMs), "", memo};
}

const std::vector<MeasurementRecord> kRecords{
    Record(5, 20, 2'000'000, kHour, "狩場A"),       Record(6, 9, 1'000'000, kHour / 2, "狩場B"),
    Record(6, 23, 3'000'000, 2 * kHour, "狩場a"),   Record(7, 1, 500'000, kHour / 4, ""),
    Record(7, 12, 0, 0, "狩場B"),
};

std::vector<std::size_t> All() { return FilterRecords(kRecords, {}); }

}  // namespace

TEST(HistoryView, DayAndWeekTotalsCountEachRecordOnTheDayItBegan) {
  const std::vector<PeriodTotal> days = DayTotals(kRecords, All());
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0].first, QDate(2026, 12, 7));
  EXPECT_EQ(days[0].measurements, 2);
  EXPECT_EQ(days[0].averageRate, 2000);
  EXPECT_EQ(days[1].gained, 4'000'000);
  EXPECT_EQ(days[1].activeMs, 5 * kHour / 2);
  EXPECT_EQ(days[1].averageRate, 1600);

  const std::vector<PeriodTotal> weeks = WeekTotals(kRecords, All());
  ASSERT_EQ(weeks.size(), 2u);
  EXPECT_EQ(weeks[0].first, QDate(2026, 12, 7));  // Monday
  EXPECT_EQ(weeks[1].first, QDate(2026, 11, 30));
  EXPECT_EQ(weeks[1].measurements, 3);
  EXPECT_EQ(weeks[1].averageRate, 1714);  // 6,000,000 in 3.5 hours, rounded down
  EXPECT_TRUE(DayTotals(kRecords, {}).empty());
}

TEST(HistoryView, FilterByDaysAndMemoAndSortWithUnknownRatesLast) {
  const struct {
    HistoryFilter filter;
    std::vector<std::size_t> shown;
  } cases[] = {
      {{QDate(2026, 12, 6), QDate(2026, 12, 6), ""}, {1, 2}},
      {{QDate(2026, 12, 7), QDate(), ""}, {3, 4}},
      {{QDate(), QDate(), "狩場a"}, {0, 2}},  // any letter case
      {{QDate(), QDate(2026, 12, 5), "B"}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(FilterRecords(kRecords, c.filter), c.shown);

  std::vector<std::size_t> order = All();
  SortRecordIndices(kRecords, order, RecordColumn::AverageRate, false);
  EXPECT_EQ(order, (std::vector<std::size_t>{3, 1, 0, 2, 4}));
  SortRecordIndices(kRecords, order, RecordColumn::AverageRate, true);
  EXPECT_EQ(order, (std::vector<std::size_t>{2, 3, 1, 0, 4}));
  SortRecordIndices(kRecords, order, RecordColumn::Memo, true);  // equal memos: newest first
  EXPECT_EQ(order, (std::vector<std::size_t>{3, 0, 4, 1, 2}));
  EXPECT_EQ(RecentMemos(kRecords, 2), (QStringList{"狩場B", "狩場a"}));
}

TEST(HistoryChart, OneSeriesPerMemoOverTheDays) {
  const HistoryChart chart = MakeHistoryChart(kRecords, All());
  EXPECT_EQ(chart.firstDay, QDate(2026, 12, 5));
  EXPECT_EQ(chart.days, 3);
  EXPECT_EQ(chart.rateMax, 2000);
  ASSERT_EQ(chart.series.size(), 4u);  // the record without a rate is left out
  EXPECT_EQ(chart.series[0].name, NoMemoName());
  EXPECT_EQ(chart.series[0].points, (std::vector<QPointF>{{2 + 1.0 / 24, 2000}}));
  const QRectF plot(0, 0, 300, 100);
  EXPECT_EQ(ChartPosition(chart, plot, chart.series[0].points[0]), QPointF(2 + 1.0 / 24, 0) * 100);

  HistoryChart weeks;
  weeks.firstDay = QDate(2026, 12, 5);
  weeks.days = 40;
  const std::vector<QDate> ticks = DateTicks(weeks, 6);
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_EQ(ticks[1], QDate(2026, 12, 12));
}

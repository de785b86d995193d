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
  // Each period: its first day, measurements, gained, active time and average rate, newest first.
  const auto figures = [](const std::vector<PeriodTotal>& periods) {
    std::vector<std::tuple<QDate, int, double, std::int64_t, std::optional<double>>> rows;
    for (const PeriodTotal& p : periods) rows.emplace_back(p.first, p.measurements, p.gained, p.activeMs, p.averageRate);
    return rows;
  };
  EXPECT_EQ(figures(DayTotals(kRecords, All())),
            (decltype(figures({})){{QDate(2026, 12, 7), 2, 500'000, kHour / 4, 2000},
                                   {QDate(2026, 12, 6), 2, 4'000'000, 5 * kHour / 2, 1600},
                                   {QDate(2026, 12, 5), 1, 2'000'000, kHour, 2000}}));
  // Weeks begin on Monday; 6,000,000 in 3.5 hours is 1,714 k/h rounded down.
  EXPECT_EQ(figures(WeekTotals(kRecords, All())),
            (decltype(figures({})){{QDate(2026, 12, 7), 2, 500'000, kHour / 4, 2000},
                                   {QDate(2026, 11, 30), 3, 6'000'000, 7 * kHour / 2, 1714}}));
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
  // The record without a rate is left out.
  ASSERT_EQ(std::tuple(chart.firstDay, chart.days, chart.rateMax, chart.series.size()),
            std::tuple(QDate(2026, 12, 5), 3, 2000, 4u));
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

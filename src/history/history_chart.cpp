#include "history/history_chart.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>

#include "base/chart_axis.h"

QString NoMemoName() { return QCoreApplication::translate("HistoryTexts", "(メモなし)"); }

HistoryChart MakeHistoryChart(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices) {
  HistoryChart chart;
  QDate first, last;
  double rateMax = 0;
  for (const std::size_t i : indices) {
    const MeasurementRecord& r = records[i];
    if (!r.averageRate) continue;
    const QDate day = r.start.date();
    if (!first.isValid() || day < first) first = day;
    if (!last.isValid() || day > last) last = day;
    rateMax = std::max(rateMax, *r.averageRate);
  }
  if (!first.isValid()) return chart;
  chart.firstDay = first;
  chart.days = static_cast<int>(first.daysTo(last)) + 1;
  chart.rateMax = NiceCeiling(rateMax);

  const qint64 origin = WallClockMs(QDateTime(first, QTime(0, 0)));
  std::map<QString, ChartSeries> byMemo;
  for (const std::size_t i : indices) {
    const MeasurementRecord& r = records[i];
    if (!r.averageRate) continue;
    const QString name = r.memo.trimmed().isEmpty() ? NoMemoName() : r.memo.trimmed();
    ChartSeries& series = byMemo[name];
    series.name = name;
    const double day = static_cast<double>(WallClockMs(r.start) - origin) / 86'400'000;
    series.points.emplace_back(day, *r.averageRate);
  }
  for (auto& [name, series] : byMemo) {
    std::sort(series.points.begin(), series.points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    chart.series.push_back(std::move(series));
  }
  std::stable_sort(chart.series.begin(), chart.series.end(), [](const ChartSeries& a, const ChartSeries& b) {
    return a.points.size() > b.points.size();
  });
  return chart;
}

QPointF ChartPosition(const HistoryChart& chart, const QRectF& plot, const QPointF& point) {
  return PlotPosition(plot, point.x(), chart.days, point.y(), chart.rateMax);
}

std::vector<QDate> DateTicks(const HistoryChart& chart, int maxLabels) {
  std::vector<QDate> ticks;
  if (!chart.firstDay.isValid() || maxLabels < 1) return ticks;
  int step = 1;
  for (const int candidate : {1, 2, 7, 14, 28, 56, 91, 182, 364}) {
    step = candidate;
    if ((chart.days + candidate - 1) / candidate <= maxLabels) break;
  }
  while ((chart.days + step - 1) / step > maxLabels) step *= 2;
  for (int day = 0; day < chart.days; day += step) ticks.push_back(chart.firstDay.addDays(day));
  return ticks;
}

#pragma once
// The history chart's maths: the average rate of each measurement over the
// dates, one series per memo, so two hunting grounds can be told apart at a
// glance. Pure; the window only paints what this places.

#include <QDate>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "history/measurement_record.h"

// The series name of records without a memo.
QString NoMemoName();

struct ChartSeries {
  QString name;  // the memo, or NoMemoName()
  // Days since the chart's first day (fractions are the time of day) and
  // the rate in k/h, in time order.
  std::vector<QPointF> points;
};

struct HistoryChart {
  QDate firstDay;   // the left edge, at midnight
  int days = 1;     // the width of the time axis, whole days
  double rateMax = 1;
  std::vector<ChartSeries> series;  // most measurements first
};

// The chart of the records at `indices`; measurements without a rate are
// left out.
HistoryChart MakeHistoryChart(const std::vector<MeasurementRecord>& records, const std::vector<std::size_t>& indices);

// Where a point goes in `plot`.
QPointF ChartPosition(const HistoryChart& chart, const QRectF& plot, const QPointF& point);

// The days to label under the time axis: at most `maxLabels`, a whole
// number of days or weeks apart, the first day always among them.
std::vector<QDate> DateTicks(const HistoryChart& chart, int maxLabels);

#pragma once
// The drawing maths of the session chart, apart from the widget: axis
// ranges rounded to readable values, and where each reading goes inside the
// plot rectangle. Pure.

#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

#include "accounting/session_model.h"
#include "base/chart_axis.h"

struct ChartAxes {
  double minutesMax = 10;  // time axis: at least 10 minutes
  double gainedMax = 1;    // left axis: total gained
  double rateMax = 1;      // right axis: k/h
};

ChartAxes ChooseAxes(const std::vector<SessionPoint>& points);

// The total gained as one line through every point.
QPolygonF GainedLine(const std::vector<SessionPoint>& points, const QRectF& plot, const ChartAxes& axes);

// The rolling rate: a line broken wherever the rate was unknown.
std::vector<QPolygonF> RateLines(const std::vector<SessionPoint>& points, const QRectF& plot, const ChartAxes& axes);

// Time axis label: "0分", "30分", "2時間".
QString AxisMinutesText(double minutes);

#include "main_window/chart_scale.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

ChartAxes ChooseAxes(const std::vector<SessionPoint>& points) {
  ChartAxes axes;
  double lastMinutes = 0, gained = 0, rate = 0;
  for (const SessionPoint& p : points) {
    lastMinutes = std::max(lastMinutes, static_cast<double>(p.sinceStartMs) / 60000);
    gained = std::max(gained, p.gained);
    if (p.shortRate) rate = std::max(rate, *p.shortRate);
  }
  axes.minutesMax = std::max(10.0, NiceCeiling(lastMinutes));
  axes.gainedMax = NiceCeiling(gained);
  axes.rateMax = NiceCeiling(rate);
  return axes;
}

QPolygonF GainedLine(const std::vector<SessionPoint>& points, const QRectF& plot, const ChartAxes& axes) {
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(points.size()));
  for (const SessionPoint& p : points) {
    line << PlotPosition(plot, static_cast<double>(p.sinceStartMs) / 60000, axes.minutesMax, p.gained, axes.gainedMax);
  }
  return line;
}

std::vector<QPolygonF> RateLines(const std::vector<SessionPoint>& points, const QRectF& plot, const ChartAxes& axes) {
  std::vector<QPolygonF> lines;
  QPolygonF current;
  for (const SessionPoint& p : points) {
    if (!p.shortRate) {
      if (!current.isEmpty()) lines.push_back(std::move(current));
      current = QPolygonF();
      continue;
    }
    current << PlotPosition(plot, static_cast<double>(p.sinceStartMs) / 60000, axes.minutesMax, *p.shortRate,
                            axes.rateMax);
  }
  if (!current.isEmpty()) lines.push_back(std::move(current));
  return lines;
}

QString AxisMinutesText(double minutes) {
  const auto whole = static_cast<long long>(std::llround(std::max(0.0, minutes)));
  if (whole < 60) return QCoreApplication::translate("ChartAxis", "%1分").arg(whole);
  if (whole % 60 == 0) return QCoreApplication::translate("ChartAxis", "%1時間").arg(whole / 60);
  return QCoreApplication::translate("ChartAxis", "%1時間%2分").arg(whole / 60).arg(whole % 60);
}

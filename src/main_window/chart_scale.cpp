#include "main_window/chart_scale.h"

#include <algorithm>
#include <cmath>

double NiceCeiling(double value) {
  if (!(value > 0) || !std::isfinite(value)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    // A hair of tolerance, so that exactly 2000 stays 2000 however the
    // power of ten came out.
    if (value <= step * power * (1 + 1e-12)) return step * power;
  }
  return 10 * power;
}

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

QPointF PlotPosition(const QRectF& plot, double x, double xMax, double y, double yMax) {
  const double fx = xMax > 0 ? std::clamp(x / xMax, 0.0, 1.0) : 0;
  const double fy = yMax > 0 ? std::clamp(y / yMax, 0.0, 1.0) : 0;
  return {plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height()};
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
  if (whole < 60) return QStringLiteral("%1分").arg(whole);
  if (whole % 60 == 0) return QStringLiteral("%1時間").arg(whole / 60);
  return QStringLiteral("%1時間%2分").arg(whole / 60).arg(whole % 60);
}

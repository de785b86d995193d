#include "base/chart_axis.h"

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

QPointF PlotPosition(const QRectF& plot, double x, double xMax, double y, double yMax) {
  const double fx = xMax > 0 ? std::clamp(x / xMax, 0.0, 1.0) : 0;
  const double fy = yMax > 0 ? std::clamp(y / yMax, 0.0, 1.0) : 0;
  return {plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height()};
}

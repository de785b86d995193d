#include "main_window/rate_chart.h"

#include <QPainter>

#include "base/display_text.h"
#include "main_window/chart_scale.h"

namespace {

const QColor kGainedColour(40, 110, 200);
const QColor kRateColour(230, 120, 20);

}  // namespace

RateChart::RateChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chartLive"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void RateChart::SetPoints(const std::vector<SessionPoint>& points) {
  points_ = &points;
  update();
}

void RateChart::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  const int textHeight = 12;
  const QRectF plot = QRectF(rect()).adjusted(6, textHeight + 4, -6, -(textHeight + 4));
  if (plot.width() < 10 || plot.height() < 10) return;

  static const std::vector<SessionPoint> kNone;
  const std::vector<SessionPoint>& points = points_ ? *points_ : kNone;
  const ChartAxes axes = ChooseAxes(points);
  painter.setPen(QColor(220, 220, 220));
  for (int i = 1; i < 4; ++i) {
    const double y = plot.top() + plot.height() * i / 4;
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }

  painter.setPen(kGainedColour);
  painter.drawText(QRectF(plot.left(), 2, plot.width() / 2, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   tr("獲得Exp (最大 %1)").arg(GroupedNumber(axes.gainedMax)));
  painter.setPen(kRateColour);
  painter.drawText(QRectF(plot.center().x(), 2, plot.width() / 2, textHeight), Qt::AlignRight | Qt::AlignVCenter,
                   tr("時給(直近10分) (最大 %1 k/h)").arg(GroupedNumber(axes.rateMax)));
  painter.setPen(Qt::darkGray);
  const QRectF bottom(plot.left(), plot.bottom() + 3, plot.width(), textHeight);
  painter.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, AxisMinutesText(0));
  painter.drawText(bottom, Qt::AlignRight | Qt::AlignVCenter, AxisMinutesText(axes.minutesMax));

  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kGainedColour, 1.5));
  painter.drawPolyline(GainedLine(points, plot, axes));
  painter.setPen(QPen(kRateColour, 1.5));
  for (const QPolygonF& line : RateLines(points, plot, axes)) painter.drawPolyline(line);
}

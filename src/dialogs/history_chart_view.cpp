#include "base/display_text.h"
#include "dialogs/history_chart_view.h"

#include <QImage>
#include <QPainter>
#include <array>

#include "accounting/session_model.h"

HistoryChartView::HistoryChartView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chartHistory"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumHeight(120);
}

QColor SeriesColour(std::size_t index) {
  // The live chart's blue and orange first, then colours that stay apart
  // from them and from each other.
  static const std::array<QColor, 8> kColours{QColor(40, 110, 200), QColor(230, 120, 20), QColor(40, 160, 70),
                                              QColor(200, 40, 60),  QColor(130, 80, 190), QColor(20, 160, 170),
                                              QColor(150, 110, 40), QColor(210, 80, 170)};
  return kColours[index % kColours.size()];
}

void HistoryChartView::SetChart(HistoryChart chart) {
  chart_ = std::move(chart);
  update();
}

QImage HistoryChartView::Picture(QSize size) const {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  Draw(painter, image.rect());
  return image;
}

void HistoryChartView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  Draw(painter, rect());
}

void HistoryChartView::Draw(QPainter& painter, const QRect& area) const {
  painter.fillRect(area, Qt::white);
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(area.adjusted(0, 0, -1, -1));

  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  const int textHeight = 14;
  const int legendRows = 1 + static_cast<int>(chart_.series.size() > 6);
  const QRectF plot =
      QRectF(area).adjusted(8, textHeight * legendRows + 6, -8, -(textHeight + 6));
  if (plot.width() < 20 || plot.height() < 20) return;

  for (int i = 1; i < 4; ++i) {
    const double y = plot.top() + plot.height() * i / 4;
    painter.setPen(QColor(220, 220, 220));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    if (chart_.series.empty()) continue;
    // The rate of each grid line, so two grounds compare in numbers too.
    painter.setPen(QColor(150, 150, 150));
    painter.drawText(QRectF(plot.left() + 2, y - textHeight, 80, textHeight), Qt::AlignLeft | Qt::AlignBottom,
                     GroupedNumber(chart_.rateMax * (4 - i) / 4));
  }
  if (chart_.series.empty()) {
    painter.setPen(Qt::darkGray);
    painter.drawText(plot, Qt::AlignCenter, tr("記録がありません"));
    return;
  }

  // Legend: each memo in its colour, left to right; the scale at the right.
  const QString scale = tr("時給 (最大 %1 k/h)").arg(GroupedNumber(chart_.rateMax));
  painter.setPen(Qt::darkGray);
  painter.drawText(QRectF(plot.left(), area.top() + 3, plot.width(), textHeight), Qt::AlignRight | Qt::AlignVCenter,
                   scale);
  const double legendRight = plot.right() - painter.fontMetrics().horizontalAdvance(scale) - 12;
  double x = plot.left();
  int row = 0;
  for (std::size_t i = 0; i < chart_.series.size(); ++i) {
    const QString name = chart_.series[i].name;
    const double width = painter.fontMetrics().horizontalAdvance(name) + 22;
    if (x + width > legendRight && x > plot.left()) {
      if (++row >= legendRows) break;
      x = plot.left();
    }
    const double y = area.top() + 3 + row * textHeight;
    painter.fillRect(QRectF(x, y + 4, 8, 8), SeriesColour(i));
    painter.setPen(SeriesColour(i));
    painter.drawText(QRectF(x + 11, y, width, textHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
    x += width;
  }

  // Dates under the time axis, one every few days so they never crowd.
  painter.setPen(Qt::darkGray);
  const int labelWidth = 44;
  const auto maxLabels = std::max(1, static_cast<int>(plot.width() / (labelWidth + 16)));
  for (const QDate& day : DateTicks(chart_, maxLabels)) {
    const QPointF at = ChartPosition(chart_, plot, QPointF(chart_.firstDay.daysTo(day), 0));
    painter.setPen(QColor(235, 235, 235));
    painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(at.x() - 2, plot.bottom() + 3, labelWidth, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     day.toString(QStringLiteral("MM/dd")));
  }

  painter.setRenderHint(QPainter::Antialiasing);
  for (std::size_t i = 0; i < chart_.series.size(); ++i) {
    const QColor colour = SeriesColour(i);
    QPolygonF line;
    for (const QPointF& p : chart_.series[i].points) line << ChartPosition(chart_, plot, p);
    painter.setPen(QPen(colour, 1.5));
    painter.drawPolyline(line);
    painter.setBrush(colour);
    for (const QPointF& p : line) painter.drawEllipse(p, 2.5, 2.5);
    painter.setBrush(Qt::NoBrush);
  }
}

#pragma once
// The history chart: the average rate of each measurement over the dates,
// a colour per memo, in the live chart's style (white plot, grey frame and
// grid, captions in the series' colours).

#include <QWidget>

#include "history/history_chart.h"

class QPainter;

class HistoryChartView : public QWidget {
  Q_OBJECT
 public:
  explicit HistoryChartView(QWidget* parent = nullptr);
  void SetChart(HistoryChart chart);
  const HistoryChart& Chart() const { return chart_; }

  // The chart drawn into a picture of its own size, for saving as PNG.
  QImage Picture(QSize size) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Draw(QPainter& painter, const QRect& area) const;
  HistoryChart chart_;
};

// The colour of the series at `index`.
QColor SeriesColour(std::size_t index);

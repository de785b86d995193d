#pragma once
// The session chart: the total gained and the last-10-minutes rate over
// the session's time. It draws the session's own points, never a copy: the
// owner of the session keeps them alive as long as this chart, and hands
// them over again whenever they changed, which asks for one repaint.

#include <QWidget>
#include <vector>

#include "accounting/session_model.h"

class RateChart : public QWidget {
  Q_OBJECT
 public:
  explicit RateChart(QWidget* parent = nullptr);
  void SetPoints(const std::vector<SessionPoint>& points);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const std::vector<SessionPoint>* points_ = nullptr;
};

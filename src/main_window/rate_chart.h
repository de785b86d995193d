#pragma once
// The session chart: the total gained and the last-10-minutes rate over
// the session's time. It keeps a copy of the points and draws only when new
// ones are handed to it (and when the window system asks for a repaint).

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
  std::vector<SessionPoint> points_;
};

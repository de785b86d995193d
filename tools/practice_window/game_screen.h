#pragma once
// The practice game's window: a scene with a status bar whose level and
// experience counters sit exactly where Tallymeter's default capture regions
// look, counted from the window's outer corner (frame and title bar
// included), whatever frame the window manager gives the window. Resized,
// the bar stays at the bottom, the level counter at the left and the
// experience counter (right of the middle) at its distance from the right
// edge, as a game's status bar does.

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "counter_sprites.h"
#include "experience.h"

// Where the first digit cell of each counter starts, from the outer corner,
// while the client area has its first size.
inline constexpr QPoint kLevelCounterAt{35, 576};
inline constexpr QPoint kExpCounterAt{463, 570};
inline constexpr QSize kFirstClientSize{800, 600};

// How the experience counter is printed: the plain digits (the classic),
// grouped by three with commas, or as a percentage of the level with this
// many decimals (the delimiter standing for the "%").
struct CounterStyle {
  bool grouped = false;
  int percentDecimals = -1;  // -1: the experience itself
};

// The experience counter's text for `progress` in `style`; a percentage is
// cut, not rounded, and needs the level's size (0: "0" with its decimals).
QString ExpCounterText(Progress progress, std::int64_t levelSize, CounterStyle style);

// Client-area position of a point given from the outer corner.
constexpr QPoint ClientPosition(QPoint fromOuterCorner, QPoint frameOffset) { return fromOuterCorner - frameOffset; }

class GameScreen : public QWidget {
  Q_OBJECT

 public:
  // Where the window system puts a window's outer corner; without it the
  // toolkit's frame geometry.
  using OuterRectOf = std::function<std::optional<QRect>(WId)>;

  GameScreen(CounterFont levelFont, CounterFont expFont, std::shared_ptr<const ExpTable> table, CounterStyle style,
             Progress start, QWidget* parent = nullptr, OuterRectOf outerRectOf = {});

  Progress progress() const { return progress_; }
  void SetProgress(Progress progress);

 signals:
  void progressChanged(Progress progress);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPoint FrameOffset() const;
  // The counters' places from the outer corner at the present size.
  QPoint LevelCounterAt() const;
  QPoint ExpCounterAt() const;
  void PaintScene(QPainter& painter) const;
  void PaintStatusBar(QPainter& painter, QPoint frameOffset) const;

  CounterFont levelFont_;
  CounterFont expFont_;
  std::shared_ptr<const ExpTable> table_;
  CounterStyle style_;
  Progress progress_;
  QPoint paintedOffset_;
  OuterRectOf outerRectOf_;
  QTimer frameWatch_;
};

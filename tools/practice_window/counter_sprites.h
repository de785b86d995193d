#pragma once
// The status-bar font of the practice game: the default pattern bitmaps, laid
// out the way the game lays out its counters.

#include <QImage>
#include <QPainter>
#include <QString>
#include <array>

struct CounterFont {
  std::array<QImage, 10> digits;
  QImage delimiter;

  bool IsComplete() const;
  // Cells overlap by one column: neighbours share their background edge.
  int Pitch() const;
  int Height() const;
};

// Loads area `area` (0 level, 1 experience) from `folder`; incomplete when a
// file is missing.
CounterFont LoadCounterFont(const QString& folder, int area);

// How a counter is laid out; the default is the classic look.
struct CounterStyle {
  bool boxes = false;  // each digit in a box of its own, neighbours sharing a column
  int markGap = 0;     // blank columns added before the delimiter
  bool mark = true;    // false: nothing follows the digits
};

// Draws the digits of `value` and the delimiter with the first cell's
// top-left at `at`; returns the x just right of the delimiter (of the
// digits without one).
int DrawCounter(QPainter& painter, const CounterFont& font, const QPoint& at, const QString& digits,
                const CounterStyle& style = {});

#pragma once
// The status-bar font of the practice game: the default pattern bitmaps, laid
// out the way the game lays out its counters, and the separators some
// versions of the game print between digit groups or before the decimals.

#include <QImage>
#include <QPainter>
#include <QString>
#include <array>

struct CounterFont {
  std::array<QImage, 10> digits;
  QImage delimiter;
  // Narrower than a digit cell, in the digits' own colours; made from them.
  QImage comma;
  QImage point;

  bool IsComplete() const;
  // Cells overlap by one column: neighbours share their background edge.
  int Pitch() const;
  int Height() const;
};

// Loads area `area` (0 level, 1 experience) from `folder`; incomplete when a
// file is missing.
CounterFont LoadCounterFont(const QString& folder, int area);

// Draws `text` (digits, "," and ".") and the delimiter with the first cell's
// top-left at `at`; returns the x just right of the delimiter.
int DrawCounter(QPainter& painter, const CounterFont& font, const QPoint& at, const QString& text);

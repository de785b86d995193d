#pragma once
// Fitting a rough drag over a number to the number's text line: a drag that
// cuts the digits' top or bottom rows, or begins inside the first digit,
// grows until the strokes it cut end, with one pixel of margin; blank rows
// above and below the line beyond one are dropped. A frame line of the
// status bar is no text and is never followed; a drag that cuts nothing
// keeps its columns, and its right end is the player's (it may end inside
// what follows the number's end mark).

#include <QImage>
#include <QRect>

struct TextLineFit {
  QRect area;  // the drag fitted
  // How far each edge moved outwards (negative: inwards).
  int top = 0;
  int bottom = 0;
  int left = 0;
  int right = 0;

  bool Moved() const { return top != 0 || bottom != 0 || left != 0 || right != 0; }
};

// `drag` (inside `picture`) fitted to the text line it lies on; the area
// stays inside the picture and grows to at most twice the drag's size.
TextLineFit FitToTextLine(const QImage& picture, const QRect& drag);

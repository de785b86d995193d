#pragma once
// Drawing one line of a layout at 1× and bringing it to the screen's scale:
// shared by the layout's measuring (MakeLayout) and its captures.

#include <QFont>
#include <QImage>

#include "layout_zoo.h"

namespace zoo {

QFont FontOf(const LayoutSpec& layout);
// The line's advance at 1×: prefix, number (boxed or not) and suffix.
int LineAdvance(const LayoutSpec& layout, const QString& number, const QString& suffix);
// The canvas at 1×, scaled as the game scales it. `flat`: the paper alone
// behind the text (for measuring where the ink is).
QImage DrawScaled(const LayoutSpec& layout, const QString& number, const QString& suffix, bool flat);
// The text after the number, with `percent` in hundredths.
QString SuffixText(const LayoutSpec& layout, int percent);

}  // namespace zoo

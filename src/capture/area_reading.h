#pragma once
// One area read on its own, as a timed capture would read it: for the
// checks of the set-up tools (the area picker's live read-out, the pattern
// editor's check after a save).

#include <QImage>
#include <QString>

#include "persistence/pattern_set.h"

// The caption the main window would show for `capture` read as area `area`
// (0 or 1) with `patterns`, the region as wide as the capture: the digit
// string, or "認識NG".
QString ReadAreaCaption(const QImage& capture, int area, const PatternSet& patterns);

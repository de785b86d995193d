#pragma once
// One area read on its own, as a timed capture would read it: for the
// checks of the set-up tools (the area picker's live read-out, the pattern
// editor's check after a save, the teaching tool).

#include <QImage>
#include <QString>

#include "persistence/pattern_set.h"

struct AreaReading {
  QString digits;   // the digit string the scan found (possibly empty or zeros)
  QString caption;  // what the main window would show: the digits, or "認識NG"
  QString failure;  // why it reads "認識NG"; empty when read
};

class PatternMatcher;

// `capture` read as area `area` (0 or 1) with `patterns`, the region as wide
// as the capture.
AreaReading ReadArea(const QImage& capture, int area, const PatternSet& patterns);
// The same with the patterns prepared once, for a caller that reads many.
AreaReading ReadArea(const QImage& capture, int area, const PatternMatcher& patterns);

inline QString ReadAreaCaption(const QImage& capture, int area, const PatternSet& patterns) {
  return ReadArea(capture, area, patterns).caption;
}

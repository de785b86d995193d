#pragma once
// The rule of a click on a pattern editor slot; the rest of the slots'
// rules (registered, common height, where they are held) are the teaching
// module's, shared with the teaching tool.

#include <QImage>

#include "recognition/area_teaching.h"

// What a slot holds after a click: the clipboard's picture when there is
// one (as RGB32), else what it held; a picture larger than the largest
// pattern (kLargestPatternSide) in either direction empties the slot.
QImage SlotAfterClick(const QImage& held, const QImage& clipboard);

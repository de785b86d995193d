#pragma once
// Capturing rectangles of windows as pictures. Regions come from the
// configuration file unchecked: a region of no size gives a null picture,
// one larger than kMaxCaptureSide is cut to it, and whatever lies outside
// the desktop reads black.

#include <QImage>
#include <QRect>
#include <array>

#include "capture/window_system.h"
#include "persistence/settings.h"

inline constexpr int kMaxCaptureSide = 4096;

// Where a region of a window lies: `source` is the part within the
// desktop's bounds (screen coordinates, possibly empty), `target` where that
// part goes in the picture, `pictureSize` the size of the whole picture
// (empty when the region has no size). Pure geometry.
struct CapturePlan {
  QSize pictureSize;
  QRect source;
  QPoint target;
};
CapturePlan PlanCapture(const QRect& windowOuter, int x, int y, int width, int height, const QRect& desktop);

// The whole-window area of `window` at (x, y), width x height, counted from
// the outer rectangle's top-left corner. Null picture when the window is gone
// or the region has no size.
QImage CaptureWindowArea(WindowSystem& ws, WindowId window, int x, int y, int width, int height);
QImage CaptureGameArea(WindowSystem& ws, WindowId window, const CaptureRegion& region);

// Both areas of the window `look` found in front, or found behind with both
// areas in sight (SeeGameAreas), as CaptureGameArea takes them, from the one
// outer rectangle of the look and with both grabs asked together; both
// pictures are null when the window went while they were read, or when the
// look found no window to read.
std::array<QImage, 2> CaptureGameAreas(WindowSystem& ws, const WindowLook& look,
                                       const std::array<CaptureRegion, 2>& regions);

// The region of whatever window is in front now (callers time it: the
// player brings the window forward first).
QImage CaptureForegroundArea(WindowSystem& ws, const CaptureRegion& region);

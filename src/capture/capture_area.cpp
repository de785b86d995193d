#include "capture/capture_area.h"

#include <QPainter>
#include <algorithm>

CapturePlan PlanCapture(const QRect& windowOuter, int x, int y, int width, int height, const QSize& screen) {
  CapturePlan plan;
  if (width <= 0 || height <= 0) return plan;
  width = std::min(width, kMaxCaptureSide);
  height = std::min(height, kMaxCaptureSide);
  plan.pictureSize = QSize(width, height);

  // Offsets come unchecked from the configuration file: add in 64 bits so
  // that a far-away region cannot wrap around onto the screen.
  const std::int64_t left = std::int64_t{windowOuter.x()} + x;
  const std::int64_t top = std::int64_t{windowOuter.y()} + y;
  const std::int64_t clipLeft = std::max<std::int64_t>(left, 0);
  const std::int64_t clipTop = std::max<std::int64_t>(top, 0);
  const std::int64_t clipRight = std::min<std::int64_t>(left + width, screen.width());
  const std::int64_t clipBottom = std::min<std::int64_t>(top + height, screen.height());
  if (clipLeft >= clipRight || clipTop >= clipBottom) return plan;

  plan.source = QRect(static_cast<int>(clipLeft), static_cast<int>(clipTop), static_cast<int>(clipRight - clipLeft),
                      static_cast<int>(clipBottom - clipTop));
  plan.target = QPoint(static_cast<int>(clipLeft - left), static_cast<int>(clipTop - top));
  return plan;
}

QImage CaptureWindowArea(WindowSystem& ws, WindowId window, int x, int y, int width, int height) {
  if (window == 0) return {};
  const std::optional<QRect> outer = ws.OuterRect(window);
  if (!outer) return {};
  const CapturePlan plan = PlanCapture(*outer, x, y, width, height, ws.ScreenSize());
  if (plan.pictureSize.isEmpty()) return {};

  QImage picture(plan.pictureSize, QImage::Format_RGB32);
  if (picture.isNull()) return {};
  picture.fill(Qt::black);  // off-screen parts read black
  if (plan.source.isEmpty()) return picture;

  const QImage grabbed = ws.GrabScreen(plan.source);
  // A window that closed while its pixels were read shows something else
  // there by now: no capture rather than a wrong one.
  if (grabbed.isNull() || !ws.OuterRect(window)) return {};
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(plan.target, grabbed, QRect(QPoint(0, 0), plan.source.size()));
  return picture;
}

QImage CaptureGameArea(WindowSystem& ws, WindowId window, const CaptureRegion& region) {
  return CaptureWindowArea(ws, window, region.sx, region.sy, region.ex, region.ey);
}

QImage CaptureForegroundArea(WindowSystem& ws, Clock& clock, const CaptureRegion& region, double waitMs) {
  clock.WaitMs(waitMs);
  return CaptureWindowArea(ws, ws.ForegroundWindow(), region.sx, region.sy, region.ex, region.ey);
}

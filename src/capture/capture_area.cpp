#include "capture/capture_area.h"

#include "capture/game_sight.h"

#include <QPainter>
#include <algorithm>

CapturePlan PlanCapture(const QRect& windowOuter, int x, int y, int width, int height, const QRect& desktop) {
  CapturePlan plan;
  if (width <= 0 || height <= 0) return plan;
  width = std::min(width, kMaxCaptureSide);
  height = std::min(height, kMaxCaptureSide);
  plan.pictureSize = QSize(width, height);

  // Offsets come unchecked from the configuration file: add in 64 bits so
  // that a far-away region cannot wrap around onto the screen.
  const std::int64_t left = std::int64_t{windowOuter.x()} + x;
  const std::int64_t top = std::int64_t{windowOuter.y()} + y;
  const std::int64_t clipLeft = std::max<std::int64_t>(left, desktop.x());
  const std::int64_t clipTop = std::max<std::int64_t>(top, desktop.y());
  const std::int64_t clipRight = std::min<std::int64_t>(left + width, std::int64_t{desktop.x()} + desktop.width());
  const std::int64_t clipBottom = std::min<std::int64_t>(top + height, std::int64_t{desktop.y()} + desktop.height());
  if (clipLeft >= clipRight || clipTop >= clipBottom) return plan;

  plan.source = QRect(static_cast<int>(clipLeft), static_cast<int>(clipTop), static_cast<int>(clipRight - clipLeft),
                      static_cast<int>(clipBottom - clipTop));
  plan.target = QPoint(static_cast<int>(clipLeft - left), static_cast<int>(clipTop - top));
  return plan;
}

namespace {

// The pictures of `plans` of a window at one place on the desktop: parts
// off it black, nothing when the window went while they were read.
template <std::size_t N>
std::array<QImage, N> CaptureAt(WindowSystem& ws, WindowId window, const std::array<CapturePlan, N>& plans) {
  std::array<QImage, N> pictures;
  std::vector<QRect> sources;
  bool anyOnScreen = false;
  for (const CapturePlan& plan : plans) {
    sources.push_back(plan.source);
    anyOnScreen = anyOnScreen || !plan.source.isEmpty();
  }
  std::vector<QImage> grabbed = anyOnScreen ? ws.GrabScreens(sources, window) : std::vector<QImage>(N);
  grabbed.resize(N);
  for (std::size_t i = 0; i < N; ++i) {
    const CapturePlan& plan = plans[i];
    if (plan.pictureSize.isEmpty()) continue;
    if (!plan.source.isEmpty() && grabbed[i].isNull()) continue;
    if (plan.source.size() == plan.pictureSize && grabbed[i].size() == plan.pictureSize) {
      // Wholly on the desktop, as a game's counters nearly always are.
      pictures[i] = grabbed[i].convertToFormat(QImage::Format_RGB32);
      continue;
    }
    QImage picture(plan.pictureSize, QImage::Format_RGB32);
    if (picture.isNull()) continue;
    picture.fill(Qt::black);
    if (!plan.source.isEmpty()) {
      QPainter painter(&picture);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.drawImage(plan.target, grabbed[i], QRect(QPoint(0, 0), plan.source.size()));
    }
    pictures[i] = std::move(picture);
  }
  return pictures;
}

}  // namespace

QImage CaptureWindowArea(WindowSystem& ws, WindowId window, int x, int y, int width, int height) {
  if (window == 0) return {};
  const std::optional<QRect> outer = ws.OuterRect(window);
  if (!outer) return {};
  const std::array<CapturePlan, 1> plans{PlanCapture(*outer, x, y, width, height, ws.DesktopLayout().bounds)};
  return CaptureAt(ws, window, plans)[0];
}

QImage CaptureGameArea(WindowSystem& ws, WindowId window, const CaptureRegion& region) {
  return CaptureWindowArea(ws, window, region.sx, region.sy, region.ex, region.ey);
}

std::array<QImage, 2> CaptureGameAreas(WindowSystem& ws, const WindowLook& look,
                                       const std::array<CaptureRegion, 2>& regions) {
  if (look.window == 0 || !look.outer) return {};
  if (!look.inFront && SeeGameAreas(look, regions) != AreasSeen::Visible) return {};
  std::array<CapturePlan, 2> plans;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    const CaptureRegion& r = regions[i];
    plans[i] = PlanCapture(*look.outer, r.sx, r.sy, r.ex, r.ey, look.desktop.bounds);
  }
  return CaptureAt(ws, look.window, plans);
}

QImage CaptureForegroundArea(WindowSystem& ws, const CaptureRegion& region) {
  return CaptureWindowArea(ws, ws.ForegroundWindow(), region.sx, region.sy, region.ex, region.ey);
}

#include "capture/game_sight.h"

#include <QRegion>
#include <algorithm>
#include <limits>

#include "capture/capture_area.h"

std::optional<QRect> AreaOnScreen(const QRect& outer, const CaptureRegion& region) {
  if (region.ex <= 0 || region.ey <= 0) return QRect();
  // Offsets come unchecked from the configuration file: add in 64 bits.
  const std::int64_t left = std::int64_t{outer.x()} + region.sx;
  const std::int64_t top = std::int64_t{outer.y()} + region.sy;
  const std::int64_t width = std::min(region.ex, kMaxCaptureSide);
  const std::int64_t height = std::min(region.ey, kMaxCaptureSide);
  constexpr std::int64_t kLowest = std::numeric_limits<int>::min() / 2;
  constexpr std::int64_t kHighest = std::numeric_limits<int>::max() / 2;
  if (left < kLowest || top < kLowest || left + width > kHighest || top + height > kHighest) return std::nullopt;
  return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(width), static_cast<int>(height));
}

AreasSeen SeeAreas(const WindowSight& sight, const std::vector<QRect>& monitors, const std::array<QRect, 2>& areas) {
  if (sight.minimised) return AreasSeen::Minimised;
  if (sight.otherDesktop) return AreasSeen::OtherDesktop;
  if (sight.cloaked) return AreasSeen::Cloaked;
  QRegion onMonitors;
  for (const QRect& monitor : monitors) onMonitors += monitor;
  for (const QRect& area : areas) {
    if (!area.isEmpty() && onMonitors.intersected(area) != QRegion(area)) return AreasSeen::OffScreen;
  }
  std::vector<OtherWindow> over = sight.above;
  if (sight.foreground) over.push_back(*sight.foreground);
  for (const OtherWindow& other : over) {
    if (!other.shown || other.seeThrough) continue;
    for (const QRect& area : areas) {
      if (other.rect.intersects(area)) return AreasSeen::Covered;
    }
  }
  return AreasSeen::Visible;
}

std::optional<AreasSeen> SeeGameAreas(const WindowLook& look, const std::array<CaptureRegion, 2>& regions) {
  if (look.window == 0) return std::nullopt;
  if (look.inFront) return AreasSeen::Visible;
  if (!look.sight) return std::nullopt;
  std::array<QRect, 2> areas;
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const std::optional<QRect> area = AreaOnScreen(look.sight->outer, regions[i]);
    if (!area) return AreasSeen::OffScreen;
    areas[i] = *area;
  }
  return SeeAreas(*look.sight, look.desktop.monitors, areas);
}

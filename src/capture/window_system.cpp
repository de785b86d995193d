#include "capture/window_system.h"

std::optional<WindowSight> WindowSystem::SightOf(WindowId) { return std::nullopt; }

WindowLook WindowSystem::LookAt(const QString& title) {
  WindowLook look;
  look.window = FindWindowByTitle(title);
  if (look.window == 0) return look;
  look.inFront = ForegroundWindow() == look.window;
  if (!look.inFront) return look;
  look.outer = OuterRect(look.window);
  look.desktop = DesktopLayout();
  return look;
}

WindowLook WindowSystem::LookAtEvenBehind(const QString& title) {
  WindowLook look = LookAt(title);
  if (look.window == 0 || look.inFront) return look;
  look.sight = SightOf(look.window);
  if (!look.sight) return look;
  look.outer = look.sight->outer;
  look.desktop = DesktopLayout();
  return look;
}

std::vector<QImage> WindowSystem::GrabScreens(const std::vector<QRect>& rects, WindowId window) {
  std::vector<QImage> images;
  images.reserve(rects.size());
  for (const QRect& rect : rects) images.push_back(rect.isEmpty() ? QImage() : GrabScreen(rect));
  if (!OuterRect(window)) images.assign(rects.size(), QImage());
  return images;
}

#include "support/fakes.h"

void FakeClock::WaitMs(double ms) {
  waits.push_back(ms);
  Advance(ms < 1 ? 1 : static_cast<std::int64_t>(ms));
  if (onWait) onWait();
}

void FakeClock::Advance(std::int64_t ms) {
  ms_ += ms;
  now_ = now_.addMSecs(ms);
}

WindowId FakeWindowSystem::FindWindowByTitle(const QString& title) {
  // A test may take windows away by hand: ids left in the Z order are gone.
  for (const WindowId id : zOrder) {
    const auto it = windows.find(id);
    if (it != windows.end() && it->second.title == title) return id;
  }
  return 0;
}

std::optional<QRect> FakeWindowSystem::OuterRect(WindowId window) {
  auto it = windows.find(window);
  if (it == windows.end()) return std::nullopt;
  return it->second.outer;
}

Desktop FakeWindowSystem::DesktopLayout() {
  const QRect bounds(screenOrigin, screen.size());
  return {bounds, monitors.empty() ? std::vector<QRect>{bounds} : monitors};
}

std::optional<WindowSight> FakeWindowSystem::SightOf(WindowId window) {
  const auto it = windows.find(window);
  if (it == windows.end()) return std::nullopt;
  const Window& w = it->second;
  WindowSight sight{w.outer, w.minimised, w.otherDesktop, w.cloaked, {}};
  for (const WindowId id : zOrder) {
    if (id == window) break;
    const auto above = windows.find(id);
    if (above == windows.end()) continue;
    const Window& other = above->second;
    sight.above.push_back({other.outer, !other.minimised && !other.otherDesktop && !other.cloaked, other.seeThrough});
  }
  return sight;
}

QImage FakeWindowSystem::GrabScreen(const QRect& rect) {
  grabs.push_back(rect);
  return screen.copy(rect.translated(-screenOrigin)).convertToFormat(QImage::Format_RGB32);
}

WindowId FakeWindowSystem::Add(const QString& title, const QRect& outer) {
  const WindowId id = next_++;
  windows[id] = {title, outer};
  zOrder.insert(zOrder.begin(), id);
  return id;
}

void FakeWindowSystem::Remove(WindowId id) {
  windows.erase(id);
  std::erase(zOrder, id);
}

void FakeWindowSystem::Raise(WindowId id) {
  std::erase(zOrder, id);
  zOrder.insert(zOrder.begin(), id);
}

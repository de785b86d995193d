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
  for (const auto& [id, w] : windows) {
    if (w.title == title) return id;
  }
  return 0;
}

std::optional<QRect> FakeWindowSystem::OuterRect(WindowId window) {
  auto it = windows.find(window);
  if (it == windows.end()) return std::nullopt;
  return it->second.outer;
}

QImage FakeWindowSystem::GrabScreen(const QRect& rect) {
  grabs.push_back(rect);
  return screen.copy(rect).convertToFormat(QImage::Format_RGB32);
}

WindowId FakeWindowSystem::Add(const QString& title, const QRect& outer) {
  const WindowId id = next_++;
  windows[id] = {title, outer};
  return id;
}

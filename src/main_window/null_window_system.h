#pragma once
// The window system of a session without an X display: no window is ever
// found, so the program starts and reports the game as not running.

#include <QApplication>

#include "capture/window_system.h"

class NullWindowSystem : public WindowSystem {
 public:
  WindowId FindWindowByTitle(const QString&) override { return 0; }
  WindowId ForegroundWindow() override { return 0; }
  std::optional<QRect> OuterRect(WindowId) override { return std::nullopt; }
  Desktop DesktopLayout() override { return {}; }
  QImage GrabScreen(const QRect&) override { return QImage(); }
  void Beep() override { QApplication::beep(); }
};

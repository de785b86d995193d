#pragma once
// The program's only view of the window system. The X11 backend lives in
// capture/x11; tests use a fake. Nothing above this interface may assume a
// particular window system.

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

using WindowId = std::uint64_t;  // 0 means "no window"

// The title of the game's window, found by exact match.
inline const QString kGameTitle = QStringLiteral("MapleStory");

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A viewable top-level window whose title is exactly `title`, or 0.
  virtual WindowId FindWindowByTitle(const QString& title) = 0;

  // The active (foreground) window, or 0.
  virtual WindowId ForegroundWindow() = 0;

  // The window's outer rectangle in screen pixels, frame and title bar
  // included; nothing when the window has gone.
  virtual std::optional<QRect> OuterRect(WindowId window) = 0;

  // The screen's size in pixels.
  virtual QSize ScreenSize() = 0;

  // What the player sees in `rect` (screen coordinates, already clipped to
  // the screen by the caller), as an RGB32 image of rect's size; a null
  // image when the grab fails. Never throws, never ends the program.
  virtual QImage GrabScreen(const QRect& rect) = 0;

  // The system beep.
  virtual void Beep() = 0;
};

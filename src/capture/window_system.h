#pragma once
// The program's only view of the window system. The X11 backend lives in
// capture/x11; tests use a fake. Nothing above this interface may assume a
// particular window system.

#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using WindowId = std::uint64_t;  // 0 means "no window"

// The title of the game's window, found by exact match.
inline const QString kGameTitle = QStringLiteral("MapleStory");

// One look at the game's window: whether it runs, whether it is in front,
// and, only when it is in front, where it lies and how large the screen is.
struct WindowLook {
  WindowId window = 0;
  bool inFront = false;
  std::optional<QRect> outer;
  QSize screen;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A top-level window whose title is exactly `title`, or 0: one that is
  // shown, or running out of sight (minimised, on another virtual desktop).
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

  // FindWindowByTitle, then ForegroundWindow, OuterRect and ScreenSize as
  // far as they are needed. A backend whose every question is a round trip
  // to a display server asks them together.
  virtual WindowLook LookAt(const QString& title);

  // GrabScreen of each rectangle (an empty one gives a null image and is
  // not grabbed), then whether `window` is still there: when it has gone,
  // every image is null, since what was read may already be another
  // window's pixels.
  virtual std::vector<QImage> GrabScreens(const std::vector<QRect>& rects, WindowId window);

  // The system beep.
  virtual void Beep() = 0;
};

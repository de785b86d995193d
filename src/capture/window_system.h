#pragma once
// The program's only view of the window system. The X11 backend lives in
// capture/x11, the Windows one in capture/win32; tests use a fake. Nothing
// above this interface may assume a particular window system.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using WindowId = std::uint64_t;  // 0 means "no window"

// The title of the game's window, found by exact match.
inline const QString kGameTitle = QStringLiteral("MapleStory");

// The player's desktop: every monitor, in the one coordinate system window
// rectangles use. A monitor left of or above the primary one has negative
// coordinates.
struct Desktop {
  QRect bounds;                 // what a grab may ask for; every monitor lies inside
  std::vector<QRect> monitors;  // each monitor; gaps between them belong to none
  friend bool operator==(const Desktop&, const Desktop&) = default;
};

// Another top-level window, as far as it may hide the game.
struct OtherWindow {
  QRect rect;                // where it draws, screen coordinates
  bool shown = true;         // mapped, not minimised, not cloaked, on this desktop
  bool seeThrough = false;   // draws nothing the player sees there: fully
                             // transparent, or a click-through overlay
  friend bool operator==(const OtherWindow&, const OtherWindow&) = default;
};

// What decides whether the player can see a window that is not in front.
struct WindowSight {
  QRect outer;                     // the window's outer rectangle
  bool minimised = false;
  bool otherDesktop = false;       // on another virtual desktop
  bool cloaked = false;            // kept off the screen by the compositor
  std::vector<OtherWindow> above;  // the top-level windows above it, topmost first
  // The window in front (when it is not this one and not below it): some
  // window systems leave another program's windows out of `above` (Wine
  // lists only its own), yet the one in front is over the game whatever
  // the list says.
  std::optional<OtherWindow> foreground = std::nullopt;
  friend bool operator==(const WindowSight&, const WindowSight&) = default;
};

// One look at the game's window: whether it runs, whether it is in front,
// and, only when it is in front (or its sight was asked for), where it lies
// and what the desktop is.
struct WindowLook {
  WindowId window = 0;
  bool inFront = false;
  std::optional<QRect> outer;
  Desktop desktop;
  // Only from LookAtEvenBehind, for a window that is there but not in front.
  std::optional<WindowSight> sight;
};

// Which way the last grab got its picture.
enum class GrabWay {
  Screen,          // copied from the screen, as the player sees it
  WindowContents,  // the screen gave black; the window drew itself for us
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

  // The desktop as it is now.
  virtual Desktop DesktopLayout() = 0;

  // Whether `window` is minimised, elsewhere or hidden by the compositor,
  // and the windows above it; nothing when it has gone, or when this window
  // system cannot tell (then the game is read only while it is in front).
  virtual std::optional<WindowSight> SightOf(WindowId window);

  // What the player sees in `rect` (screen coordinates, already clipped to
  // the desktop's bounds by the caller), as an RGB32 image of rect's size;
  // a null image when the grab fails. Never throws, never ends the program.
  virtual QImage GrabScreen(const QRect& rect) = 0;

  // FindWindowByTitle, then ForegroundWindow, OuterRect and DesktopLayout as
  // far as they are needed. A backend whose every question is a round trip
  // to a display server asks them together.
  virtual WindowLook LookAt(const QString& title);

  // LookAt; then, for a window that is there but not in front, its sight,
  // and its outer rectangle and the desktop with it.
  WindowLook LookAtEvenBehind(const QString& title);

  // GrabScreen of each rectangle (an empty one gives a null image and is
  // not grabbed), then whether `window` is still there: when it has gone,
  // every image is null, since what was read may already be another
  // window's pixels. A backend may take the window's own contents where the
  // screen shows it black (LastGrabWay says so).
  virtual std::vector<QImage> GrabScreens(const std::vector<QRect>& rects, WindowId window);

  // How the last GrabScreens got its pictures.
  virtual GrabWay LastGrabWay() const { return GrabWay::Screen; }

  // The clipboard's device-independent bitmap as the system holds it (a
  // bitmap Qt's clipboard may fail to read), or nothing: only Windows has one.
  virtual QByteArray ClipboardBitmap() { return {}; }

  // The system beep.
  virtual void Beep() = 0;
};

#pragma once
// The Windows backend of WindowSystem, over user32 and gdi32. A window that
// closes at any instant yields "no window" or a failed grab, never an end of
// the program. Coordinates are physical pixels: the process declares itself
// per-monitor DPI aware before it asks for any of them.

#include <memory>

#include "capture/window_system.h"

// Declares per-monitor DPI awareness for the process when nothing (the
// manifest, the toolkit) has declared it yet. Call before the first window.
void DeclarePerMonitorDpiAwareness();

std::unique_ptr<WindowSystem> OpenWin32WindowSystem();

// The whole of `window`, outer rectangle and all, as it draws itself
// (PrintWindow): what the backend takes where the screen shows the game
// black. A null image when the window is gone or will not draw.
QImage PrintWindowContents(WindowId window);

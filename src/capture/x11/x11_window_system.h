#pragma once
// The X11 backend of WindowSystem, over XCB. Every request checks its own
// reply, so a window that vanishes at any instant yields "no window" or a
// failed grab, never an end of the program.

#include <memory>

#include "capture/window_system.h"

// A connection to the display named by $DISPLAY (or `display`); nullptr when
// none can be opened.
std::unique_ptr<WindowSystem> OpenX11WindowSystem(const char* display = nullptr);

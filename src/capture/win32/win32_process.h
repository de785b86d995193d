#pragma once
// What the process holds of the system's resources, and bringing a window to
// the front: for checking that captures release what they take, and for
// arranging windows in tests, without including the system's headers there.

#include <optional>

#include "capture/window_system.h"

struct ProcessResources {
  // GetGuiResources' GDI object count; nothing where the system does not
  // keep it (Wine answers "not implemented").
  std::optional<unsigned long> gdiObjects;
  // GetProcessHandleCount; nothing where the system does not keep it.
  std::optional<unsigned long> kernelHandles;
  // The slot a newly made GDI object takes. Slots are reused last-freed
  // first, so it stays put while everything made is also freed and climbs
  // while objects leak: a check where the count above is missing.
  unsigned long nextGdiSlot = 0;
  // The same for kernel handles: the value a newly opened one gets.
  unsigned long long nextKernelHandle = 0;
};

ProcessResources CurrentProcessResources();

// One GDI object and one kernel handle, held for as long as this lives: what
// a leak looks like to the probes above.
class HeldResources {
 public:
  HeldResources();
  ~HeldResources();
  HeldResources(const HeldResources&) = delete;
  HeldResources& operator=(const HeldResources&) = delete;

 private:
  void* gdiObject_;
  void* handle_;
};

// Asks for `window` to come to the front; false when the system refuses.
bool BringWindowToFront(WindowId window);

// Moves and sizes `window` so that its outer rectangle is `outer`, without
// bringing it to the front; false when the system refuses.
bool PlaceWindow(WindowId window, const QRect& outer);

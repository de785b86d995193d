#include "capture/win32/win32_process.h"

#include "capture/win32/gdi_handles.h"

ProcessResources CurrentProcessResources() {
  ProcessResources r;
  const HANDLE self = GetCurrentProcess();
  SetLastError(ERROR_SUCCESS);
  const DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
  if (gdi != 0 || GetLastError() == ERROR_SUCCESS) r.gdiObjects = gdi;
  DWORD handles = 0;
  if (GetProcessHandleCount(self, &handles) && handles != 0) r.kernelHandles = handles;
  const GdiObject<HPEN> probe(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  r.nextGdiSlot = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(probe.get()) & 0xFFFFu);
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event != nullptr) {
    r.nextKernelHandle = reinterpret_cast<std::uintptr_t>(event);
    CloseHandle(event);
  }
  return r;
}

bool BringWindowToFront(WindowId id) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): window ids are handles kept as numbers
  const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
  if (!IsWindow(window)) return false;
  ShowWindow(window, SW_RESTORE);
  return SetForegroundWindow(window) != FALSE;
}

bool PlaceWindow(WindowId id, const QRect& outer) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): window ids are handles kept as numbers
  const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
  if (!IsWindow(window)) return false;
  return SetWindowPos(window, nullptr, outer.x(), outer.y(), outer.width(), outer.height(),
                      SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

HeldResources::HeldResources()
    : gdiObject_(CreatePen(PS_SOLID, 1, RGB(0, 0, 0))), handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

HeldResources::~HeldResources() {
  if (gdiObject_ != nullptr) DeleteObject(static_cast<HGDIOBJ>(gdiObject_));
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
}

#include "capture/win32/win32_window_system.h"

#include <cstring>
#include <vector>

#include "capture/win32/gdi_handles.h"

namespace {

// Window ids are the handles, kept as numbers by the interface.
HWND ToHandle(WindowId id) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));  // NOLINT(performance-no-int-to-ptr)
}
WindowId ToId(HWND window) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)); }

// FindWindowW compares titles without regard to case; only the exact
// title, on a window the player can see, is the game.
bool HasExactTitle(HWND window, const std::wstring& title) {
  // One character longer than the title: a longer title is cut there and
  // differs, without asking the window for its length (which would wait
  // for a hung window).
  std::vector<wchar_t> buffer(title.size() + 2, L'\0');
  const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return length == static_cast<int>(title.size()) && title.compare(0, title.size(), buffer.data(), title.size()) == 0;
}

// The part of the desktop that starts at (0, 0): the primary monitor and
// any monitor right of or below it.
QRect DesktopFromOrigin() {
  const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int bottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (right > 0 && bottom > 0) return QRect(0, 0, right, bottom);
  return QRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

class Win32WindowSystem : public WindowSystem {
 public:
  WindowId FindWindowByTitle(const QString& title) override;
  WindowId ForegroundWindow() override { return ToId(GetForegroundWindow()); }
  std::optional<QRect> OuterRect(WindowId window) override;
  QSize ScreenSize() override { return DesktopFromOrigin().size(); }
  QImage GrabScreen(const QRect& rect) override;
  void Beep() override;
};

WindowId Win32WindowSystem::FindWindowByTitle(const QString& title) {
  if (title.isEmpty()) return 0;
  const std::wstring wanted = title.toStdWString();
  // Every top-level window of that title in any case, topmost first.
  constexpr int kMaxCandidates = 4096;
  HWND after = nullptr;
  for (int i = 0; i < kMaxCandidates; ++i) {
    after = FindWindowExW(nullptr, after, nullptr, wanted.c_str());
    if (after == nullptr) return 0;
    if (IsWindowVisible(after) && HasExactTitle(after, wanted)) return ToId(after);
  }
  return 0;
}

std::optional<QRect> Win32WindowSystem::OuterRect(WindowId id) {
  const HWND window = ToHandle(id);
  if (id == 0 || !IsWindow(window)) return std::nullopt;
  RECT r{};
  if (!GetWindowRect(window, &r)) return std::nullopt;
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QImage Win32WindowSystem::GrabScreen(const QRect& rect) {
  if (rect.isEmpty() || !DesktopFromOrigin().contains(rect)) return {};
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  const MemoryDc memory(screen.get());
  if (memory.get() == nullptr) return {};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = rect.width();
  info.bmiHeader.biHeight = -rect.height();  // rows top-down, as QImage keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap.get() == nullptr || bits == nullptr) return {};

  QImage picture(rect.size(), QImage::Format_RGB32);
  if (picture.isNull()) return {};
  {
    const Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return {};
    // CAPTUREBLT takes layered windows too, as the player sees them.
    if (!BitBlt(memory.get(), 0, 0, rect.width(), rect.height(), screen.get(), rect.x(), rect.y(),
                SRCCOPY | CAPTUREBLT)) {
      return {};
    }
    GdiFlush();
  }
  // The section's rows are 4-byte pixels without padding; its fourth byte
  // is undefined, and RGB32 wants it 0xFF.
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < rect.height(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
    const std::uint32_t* from = source + static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.width());
    for (int x = 0; x < rect.width(); ++x) line[x] = from[x] | 0xFF000000u;
  }
  return picture;
}

void Win32WindowSystem::Beep() {
  // The player's "default beep" sound; the speaker tone where no sound is set up.
  if (!MessageBeep(MB_OK)) ::Beep(880, 120);
}

}  // namespace

void DeclarePerMonitorDpiAwareness() {
  // Looked up by name: the call exists from Windows 10 1703 on.
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  FARPROC proc = GetProcAddress(user32, "SetProcessDpiAwarenessContext");
  if (proc != nullptr) {
    SetContext setContext = nullptr;
    static_assert(sizeof(setContext) == sizeof(proc));
    std::memcpy(&setContext, &proc, sizeof(proc));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2. Refused (access denied)
    // when the manifest has declared it already, which is as good.
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-4));  // NOLINT(performance-no-int-to-ptr)
    if (setContext(perMonitorV2) || GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  SetProcessDPIAware();  // older systems: system-wide awareness at least
}

std::unique_ptr<WindowSystem> OpenWin32WindowSystem() {
  DeclarePerMonitorDpiAwareness();
  return std::make_unique<Win32WindowSystem>();
}

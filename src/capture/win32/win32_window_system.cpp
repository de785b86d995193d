#include "capture/win32/win32_window_system.h"

#include <cstring>
#include <vector>

#include "capture/capture_area.h"
#include "capture/grab_check.h"
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

// The virtual desktop: every monitor, those left of or above the primary
// one at negative coordinates.
QRect VirtualDesktop() {
  const QRect all(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (!all.isEmpty()) return all;
  return QRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
  auto* monitors = reinterpret_cast<std::vector<QRect>*>(list);  // NOLINT(performance-no-int-to-ptr)
  monitors->emplace_back(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
  return TRUE;
}

// DwmGetWindowAttribute, looked up once: the desktop window manager's view
// of a window. Absent before Vista; Wine has it.
HRESULT DwmAttribute(HWND window, DWORD attribute, void* value, DWORD size) {
  using Get = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const Get get = [] {
    Get found = nullptr;
    if (const HMODULE dwm = LoadLibraryW(L"dwmapi.dll")) {
      FARPROC proc = GetProcAddress(dwm, "DwmGetWindowAttribute");
      static_assert(sizeof(found) == sizeof(proc));
      if (proc != nullptr) std::memcpy(&found, &proc, sizeof(proc));
    }
    return found;
  }();
  return get != nullptr ? get(window, attribute, value, size) : E_NOTIMPL;
}

// DWMWA_CLOAKED: on another virtual desktop, or a suspended app.
bool Cloaked(HWND window) {
  constexpr DWORD kCloaked = 14;
  DWORD cloaked = 0;
  return SUCCEEDED(DwmAttribute(window, kCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

// Where a window draws: DWMWA_EXTENDED_FRAME_BOUNDS leaves out the
// invisible resize borders GetWindowRect counts, which would overlap a
// window placed right beside it.
std::optional<QRect> DrawnRect(HWND window) {
  constexpr DWORD kExtendedFrameBounds = 9;
  RECT r{};
  if (FAILED(DwmAttribute(window, kExtendedFrameBounds, &r, sizeof(r))) || r.right <= r.left) {
    if (!GetWindowRect(window, &r)) return std::nullopt;
  }
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// A layered window that lets the mouse through (a game overlay), or one
// made wholly transparent, draws nothing the player sees over the game.
bool SeeThrough(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if ((style & WS_EX_LAYERED) == 0) return false;
  if ((style & WS_EX_TRANSPARENT) != 0) return true;
  BYTE alpha = 255;
  DWORD flags = 0;
  return GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) != 0 && alpha == 0;
}

// A DIB section's `bits` (4-byte pixels, rows without padding) as RGB32.
QImage FromDibSection(const void* bits, const QSize& size) {
  QImage picture(size, QImage::Format_RGB32);
  if (picture.isNull()) return {};
  // The fourth byte is undefined, and RGB32 wants it 0xFF.
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
    const std::uint32_t* from = source + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width());
    for (int x = 0; x < size.width(); ++x) line[x] = from[x] | 0xFF000000u;
  }
  return picture;
}

// A top-down 32-bit section of `size` made for `dc`; `bits` its pixels.
HBITMAP MakeSection(HDC dc, const QSize& size, void*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.width();
  info.bmiHeader.biHeight = -size.height();  // rows top-down, as QImage keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  bits = nullptr;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The foreground window as it lies over `game`: another program's window in
// front is above the game even when the z-order walk does not list it (Wine
// leaves out windows of other programs). Nothing when the game is in front,
// when the one in front is hidden, or when the game stays on top of it.
std::optional<OtherWindow> InFrontOf(HWND game) {
  const HWND front = GetForegroundWindow();
  if (front == nullptr || front == game || GetAncestor(front, GA_ROOTOWNER) == game) return std::nullopt;
  if (!IsWindowVisible(front) || IsIconic(front) || Cloaked(front)) return std::nullopt;
  const auto topmost = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  if (topmost(game) && !topmost(front)) return std::nullopt;
  const std::optional<QRect> drawn = DrawnRect(front);
  if (!drawn) return std::nullopt;
  return OtherWindow{*drawn, true, SeeThrough(front)};
}

class Win32WindowSystem : public WindowSystem {
 public:
  WindowId FindWindowByTitle(const QString& title) override;
  WindowId ForegroundWindow() override { return ToId(GetForegroundWindow()); }
  std::optional<QRect> OuterRect(WindowId window) override;
  Desktop DesktopLayout() override;
  std::optional<WindowSight> SightOf(WindowId window) override;
  QImage GrabScreen(const QRect& rect) override;
  std::vector<QImage> GrabScreens(const std::vector<QRect>& rects, WindowId window) override;
  GrabWay LastGrabWay() const override { return lastWay_; }
  QByteArray ClipboardBitmap() override;
  void Beep() override;

 private:
  GrabWay lastWay_ = GrabWay::Screen;
};

Desktop Win32WindowSystem::DesktopLayout() {
  Desktop desktop;
  desktop.bounds = VirtualDesktop();
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&desktop.monitors));
  if (desktop.monitors.empty()) desktop.monitors.push_back(desktop.bounds);
  return desktop;
}

std::optional<WindowSight> Win32WindowSystem::SightOf(WindowId id) {
  const HWND game = ToHandle(id);
  const std::optional<QRect> outer = OuterRect(id);
  if (!outer) return std::nullopt;
  WindowSight sight;
  sight.outer = *outer;
  sight.minimised = IsIconic(game) || !IsWindowVisible(game);
  sight.cloaked = Cloaked(game);
  // The top-level windows above the game, nearest first; the hidden ones
  // (most of them) hide nothing and are left out.
  constexpr int kMaxAbove = 4096;
  std::vector<OtherWindow> nearestFirst;
  HWND above = GetWindow(game, GW_HWNDPREV);
  for (int i = 0; above != nullptr && i < kMaxAbove; ++i, above = GetWindow(above, GW_HWNDPREV)) {
    if (!IsWindowVisible(above) || IsIconic(above) || Cloaked(above)) continue;
    const std::optional<QRect> drawn = DrawnRect(above);
    if (!drawn) continue;
    nearestFirst.push_back({*drawn, true, SeeThrough(above)});
  }
  sight.above.assign(nearestFirst.rbegin(), nearestFirst.rend());
  sight.foreground = InFrontOf(game);
  return sight;
}

QByteArray Win32WindowSystem::ClipboardBitmap() {
  // Windows makes CF_DIB from whatever bitmap was put there (CF_BITMAP, CF_DIBV5).
  if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(nullptr)) return {};
  QByteArray bytes;
  constexpr SIZE_T kLargest = SIZE_T{256} << 20;  // far beyond any picture a digit comes from
  if (const HANDLE data = GetClipboardData(CF_DIB)) {
    const SIZE_T size = GlobalSize(data);
    if (const void* locked = size <= kLargest ? GlobalLock(data) : nullptr) {
      bytes = QByteArray(static_cast<const char*>(locked), static_cast<qsizetype>(size));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

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
  if (rect.isEmpty() || !VirtualDesktop().contains(rect)) return {};
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  const MemoryDc memory(screen.get());
  if (memory.get() == nullptr) return {};
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(MakeSection(screen.get(), rect.size(), bits));
  if (bitmap.get() == nullptr || bits == nullptr) return {};
  {
    const Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return {};
    // The screen's device context spans the virtual desktop, with (0, 0)
    // at the primary monitor's corner, as window rectangles count.
    // CAPTUREBLT takes layered windows too, as the player sees them.
    if (!BitBlt(memory.get(), 0, 0, rect.width(), rect.height(), screen.get(), rect.x(), rect.y(),
                SRCCOPY | CAPTUREBLT)) {
      return {};
    }
    GdiFlush();
  }
  return FromDibSection(bits, rect.size());
}

std::vector<QImage> Win32WindowSystem::GrabScreens(const std::vector<QRect>& rects, WindowId window) {
  // A game drawing past the desktop's composition (some full-screen and
  // hardware-accelerated windows) reads black from the screen; it may
  // still draw itself into a bitmap for us.
  ChosenGrab chosen = ChooseGrab(WindowSystem::GrabScreens(rects, window), [&]() -> std::vector<QImage> {
    const std::optional<QRect> outer = OuterRect(window);
    if (!outer) return {};
    const QImage whole = PrintWindowContents(window);
    if (whole.size() != outer->size()) return {};
    std::vector<QImage> parts;
    for (const QRect& rect : rects) parts.push_back(rect.isEmpty() ? QImage() : whole.copy(rect.translated(-outer->topLeft())));
    // Gone while it drew: what it drew may be another window's.
    if (OuterRect(window) != outer) return {};
    return parts;
  });
  lastWay_ = chosen.way;
  return std::move(chosen.images);
}

void Win32WindowSystem::Beep() {
  // The player's "default beep" sound; the speaker tone where no sound is set up.
  if (!MessageBeep(MB_OK)) ::Beep(880, 120);
}

}  // namespace

QImage PrintWindowContents(WindowId id) {
  const HWND window = ToHandle(id);
  RECT r{};
  if (id == 0 || !IsWindow(window) || !GetWindowRect(window, &r)) return {};
  const QSize size(r.right - r.left, r.bottom - r.top);
  if (size.isEmpty() || size.width() > kMaxCaptureSide || size.height() > kMaxCaptureSide) return {};
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  const MemoryDc memory(screen.get());
  if (memory.get() == nullptr) return {};
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(MakeSection(screen.get(), size, bits));
  if (bitmap.get() == nullptr || bits == nullptr) return {};
  {
    const Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return {};
    // PW_RENDERFULLCONTENT (Windows 8.1 on): what the compositor shows,
    // DirectX content included.
    constexpr UINT kRenderFullContent = 2;
    if (!PrintWindow(window, memory.get(), kRenderFullContent)) return {};
    GdiFlush();
  }
  return FromDibSection(bits, size);
}

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

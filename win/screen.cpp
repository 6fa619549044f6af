#include "win/screen.h"

namespace win {
namespace {

int Dpi(int axis) {
  HDC dc = ::GetDC(nullptr);
  const int dpi = dc ? ::GetDeviceCaps(dc, axis) : 96;
  if (dc) ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

geometry::Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

HMODULE Dwm() {
  static HMODULE dwm = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return dwm;
}

// A function of dwmapi.dll, or null where there is none (older systems).
template <typename F>
F DwmFunction(const char* name) {
  return Dwm() ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(Dwm(), name))) : nullptr;
}

}  // namespace

twips::Scale CurrentScale() {
  return {twips::TwipsPerPixelForDpi(Dpi(LOGPIXELSX)), twips::TwipsPerPixelForDpi(Dpi(LOGPIXELSY))};
}

std::vector<placement::Monitor> Monitors() {
  std::vector<placement::Monitor> all;
  auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info))
      reinterpret_cast<std::vector<placement::Monitor>*>(data)->push_back(
          {FromRECT(info.rcMonitor), FromRECT(info.rcWork)});
    return TRUE;
  };
  ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&all));
  return all;
}

geometry::Rect WorkAreaNear(const geometry::Rect& r) {
  const RECT rect{r.left, r.top, r.right, r.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
  return FromRECT(info.rcWork);
}

geometry::Point CursorPos() {
  POINT pt{};
  ::GetCursorPos(&pt);
  return {pt.x, pt.y};
}

std::int32_t ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
std::int32_t UsableHeight() { return ::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION); }

bool BringOnScreen(Window& window) {
  const auto moved = placement::BringOnScreen(window.Bounds(), Monitors());
  if (moved) window.Place(*moved);
  return moved.has_value();
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void DisableTransitions(HWND hwnd) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  if (auto set = DwmFunction<SetAttribute>("DwmSetWindowAttribute")) {
    BOOL on = TRUE;
    set(hwnd, 3 /* DWMWA_TRANSITIONS_FORCEDISABLED */, &on, sizeof on);
  }
}

void SettleScreen() {
  ::GdiFlush();
  using Enabled = HRESULT(WINAPI*)(BOOL*);
  using Flush = HRESULT(WINAPI*)();
  auto enabled = DwmFunction<Enabled>("DwmIsCompositionEnabled");
  auto flush = DwmFunction<Flush>("DwmFlush");
  BOOL composed = FALSE;
  if (enabled && flush && SUCCEEDED(enabled(&composed)) && composed && SUCCEEDED(flush())) return;
  // No compositor (Wine, classic themes): the windows uncovered repaint
  // themselves, and window changes and screen reads may travel on separate
  // connections to the display. A frame's time lets both arrive.
  ::Sleep(25);
}

void MakeTopmost(HWND hwnd, bool keepHidden) {
  const UINT flags = SWP_NOSIZE | SWP_NOMOVE | (keepHidden ? 0 : SWP_SHOWWINDOW);
  ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

}  // namespace win

#include "win/still_screen.h"

namespace win {

bool StillScreen::Take(const geometry::Rect& screen) {
  Release();
  WindowDC source(::GetDesktopWindow());
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), screen.Width(), -screen.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  dc_.reset(::CreateCompatibleDC(source.get()));
  section_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!source || !dc_ || !section_) {
    Release();
    return false;
  }
  old_ = ::SelectObject(dc_.get(), section_.get());
  if (!::BitBlt(dc_.get(), 0, 0, screen.Width(), screen.Height(), source.get(), screen.left, screen.top, SRCCOPY)) {
    Release();
    return false;
  }
  ::GdiFlush();
  bits_ = static_cast<std::uint32_t*>(bits);
  area_ = screen;
  return true;
}

void StillScreen::Release() {
  if (dc_ && old_) ::SelectObject(dc_.get(), old_);
  old_ = nullptr;
  bits_ = nullptr;
  section_.reset();
  dc_.reset();
  area_ = {};
}

bool StillScreen::CopyOut(const geometry::Rect& r, BitmapBuffer& picture) const {
  if (!Held() || !picture.Resize(r.Width(), r.Height())) return false;
  return ::BitBlt(picture.dc(), 0, 0, r.Width(), r.Height(), dc_.get(), r.left - area_.left, r.top - area_.top,
                  SRCCOPY) != 0;
}

geometry::Rect VirtualScreen() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  return geometry::RectAt(left, top, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

namespace {

// GetDpiForMonitor, where the system has it (Windows 8.1 on).
using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
DpiForMonitor DpiFunction() {
  static const DpiForMonitor function = [] {
    HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<DpiForMonitor>(reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return function;
}

}  // namespace

MonitorInfo MonitorAt(geometry::Point at) {
  HMONITOR monitor = ::MonitorFromPoint({at.x, at.y}, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(monitor, &info);
  MonitorInfo result{{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom}, 96};
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;
  if (DpiFunction() && SUCCEEDED(DpiFunction()(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
    result.dpi = static_cast<int>(x);
  } else {
    WindowDC screen(nullptr);
    result.dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
  }
  return result;
}

}  // namespace win

#include "win/window_pick.h"

#include <dwmapi.h>

#include "win/handles.h"
#include "win/failure_log.h"
#include "win/module.h"

namespace win {

namespace {

bool Cloaked(HWND hwnd) {
  DWORD cloaked = 0;
  return SUCCEEDED(::DwmGetWindowAttribute(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked;
}

// The window's own shape (a window region) holds the point, or it has none.
bool ShapeHolds(HWND hwnd, POINT at) {
  RECT r{};
  if (!::GetWindowRect(hwnd, &r) || !::PtInRect(&r, at)) return false;
  UniqueRgn region(::CreateRectRgn(0, 0, 0, 0));
  if (::GetWindowRgn(hwnd, region.get()) == ERROR) return true;
  return ::PtInRegion(region.get(), at.x - r.left, at.y - r.top) != 0;
}

}  // namespace

namespace {

// A window the user sees of another program: not ours, shown, not
// minimized or cloaked, and not one that lets clicks through.
bool Standing(HWND h, DWORD self) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (pid == self || !::IsWindowVisible(h) || ::IsIconic(h) || Cloaked(h)) return false;
  return !(::GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

}  // namespace

HWND TopLevelAt(geometry::Point at) {
  const POINT pt{at.x, at.y};
  const DWORD self = ::GetCurrentProcessId();
  for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT))
    if (Standing(h, self) && ShapeHolds(h, pt)) return h;
  return nullptr;
}

std::vector<StandingWindow> StandingWindows() {
  std::vector<StandingWindow> standing;
  const DWORD self = ::GetCurrentProcessId();
  for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    RECT r{};
    if (Standing(h, self) && ::GetWindowRect(h, &r))
      standing.push_back({h, {r.left, r.top, r.right, r.bottom}, VisibleBounds(h)});
  }
  return standing;
}

HWND ControlAt(HWND top, geometry::Point at) {
  HWND found = top;
  for (int depth = 0; depth < 64; ++depth) {
    POINT pt{at.x, at.y};
    ::ScreenToClient(found, &pt);
    HWND child = ::ChildWindowFromPointEx(found, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == found) break;
    found = child;
  }
  return found;
}

geometry::Rect VisibleBounds(HWND hwnd) {
  RECT r{};
  const bool topLevel = ::GetAncestor(hwnd, GA_ROOT) == hwnd;
  if (!topLevel || FAILED(::DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)) ||
      r.right <= r.left || r.bottom <= r.top)
    ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

namespace {

// The hooks' procedures are plain functions: the one listener of the thread.
thread_local InputWatch::Listener* t_listener = nullptr;
thread_local DWORD t_lastCall = 0;  // when a hook was last called, for every event

LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code == HC_ACTION) t_lastCall = ::GetTickCount();
  if (code == HC_ACTION && t_listener) {
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    const geometry::Point at{info->pt.x, info->pt.y};
    try {
      const bool keep = wp == WM_MOUSEMOVE ? t_listener->PointerMoved(at)
                                           : t_listener->ButtonPressed(static_cast<UINT>(wp), at);
      if (keep) return 1;
    } catch (...) {
      LogCurrentException(L"mouse hook");
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code == HC_ACTION) t_lastCall = ::GetTickCount();
  if (code == HC_ACTION && t_listener && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
    try {
      if (t_listener->KeyPressed(reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode)) return 1;
    } catch (...) {
      LogCurrentException(L"keyboard hook");
    }
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

InputWatch::InputWatch(Listener& listener) {
  t_listener = &listener;
  mouse_ = ::SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, Instance(), 0);
  keyboard_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, Instance(), 0);
}

std::uint32_t InputWatch::LastCall() const { return t_lastCall; }

InputWatch::~InputWatch() {
  if (mouse_) ::UnhookWindowsHookEx(mouse_);
  if (keyboard_) ::UnhookWindowsHookEx(keyboard_);
  t_listener = nullptr;
}

}  // namespace win

#include "win/window.h"

namespace win {

HWND TaskbarlessOwner() {
  static HWND owner =
      ::CreateWindowExW(0, L"STATIC", L"Kirasoe", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
  return owner;
}

Window::~Window() { Destroy(); }

bool Window::Create(const WindowSpec& kind) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(Instance(), kind.className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = kind.classStyle;
    wc.lpfnWndProc = &Window::Proc;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = kind.icon;
    wc.lpszClassName = kind.className;
    if (!::RegisterClassExW(&wc)) return false;
  }
  return ::CreateWindowExW(kind.exStyle, kind.className, kind.title, kind.style, kind.at.left, kind.at.top,
                           kind.at.Width(), kind.at.Height(), kind.owner, nullptr, Instance(), this) != nullptr;
}

geometry::Rect Window::Bounds() const {
  RECT r{};
  if (hwnd_) ::GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void Window::Place(const geometry::Rect& r) {
  ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.Width() > 0 ? r.Width() : 0, r.Height() > 0 ? r.Height() : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::Show() { ::ShowWindow(hwnd_, SW_SHOW); }
void Window::ShowNoActivate() { ::ShowWindow(hwnd_, SW_SHOWNA); }
void Window::Hide() {
  if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}
bool Window::Visible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT r = self->OnMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return r;
}

}  // namespace win

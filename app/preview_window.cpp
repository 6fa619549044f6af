#include "app/preview_window.h"

#include "resources/resource.h"
#include "win/paint.h"
#include "win/screen.h"

bool PreviewWindow::Make(geometry::Point position) {
  HICON icon = ::LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_KIRASOE));
  if (!Create({.className = L"Kirasoe.Preview",
               .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN,
               .exStyle = WS_EX_DLGMODALFRAME,
               .owner = win::TaskbarlessOwner(),
               .icon = icon}))
    return false;
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  const geometry::Rect r = Bounds();
  Place(geometry::RectAt(position.x, position.y, r.Width(), r.Height()));
  // A position stored on a monitor that is gone would leave the preview
  // where nobody sees it.
  win::BringOnScreen(*this);
  return true;
}

void PreviewWindow::ShowPicture(win::UniqueBitmap picture, geometry::Point position) {
  if (!Exists() && !Make(position)) return;
  picture_ = std::move(picture);
  BITMAP bm{};
  if (picture_ && ::GetObjectW(picture_.get(), sizeof bm, &bm)) {
    RECT client{}, outer{};
    ::GetClientRect(hwnd(), &client);
    ::GetWindowRect(hwnd(), &outer);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left + bm.bmWidth - client.right,
                   outer.bottom - outer.top + bm.bmHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  Show();
}

void PreviewWindow::Close() {
  Hide();
  picture_.reset();
}

LRESULT PreviewWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: win::PaintPicture(hwnd(), COLOR_BTNFACE, picture_.get()); return 0;
    // The user may close it; it is hidden, and kept for the next capture.
    case WM_CLOSE: Hide(); return 0;
    default: return Default(msg, wp, lp);
  }
}

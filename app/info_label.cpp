#include "app/info_label.h"

#include "core/placement.h"
#include "win/handles.h"
#include "win/screen.h"

namespace {

constexpr UINT_PTR kHideTimer = 1;

HFONT LabelFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace

void InfoLabel::ShowText(const std::wstring& text, const geometry::Rect& anchor, const geometry::Rect& avoid,
                         unsigned milliseconds) {
  constexpr DWORD kNeverActive = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TRANSPARENT;
  if (!Exists() && !Create({.className = className_, .exStyle = kNeverActive})) return;
  text_ = text;
  ::SetWindowTextW(hwnd(), text_.c_str());  // for screen readers and tests
  SIZE extent{};
  {
    win::WindowDC dc(hwnd());
    win::SelectedObject font(dc.get(), LabelFont());
    ::GetTextExtentPoint32W(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &extent);
  }
  const geometry::Rect r =
      placement::PlaceBeside(anchor, avoid, extent.cx + 10, extent.cy + 6, win::WorkAreaNear(anchor));
  ::SetWindowPos(hwnd(), HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::SetTimer(hwnd(), kHideTimer, milliseconds, nullptr);
}

LRESULT InfoLabel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_TIMER:
      if (wp == kHideTimer) {
        ::KillTimer(hwnd(), kHideTimer);
        Hide();
      }
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    default: return Default(msg, wp, lp);
  }
}

void InfoLabel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT r{};
  ::GetClientRect(hwnd(), &r);
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_INFOBK));
  ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  win::SelectedObject font(dc, LabelFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::EndPaint(hwnd(), &ps);
}

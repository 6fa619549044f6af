#include "ui/InfoLabel.h"

#include "toolkit/App.h"
#include "toolkit/Handles.h"

namespace kirasoe {

InfoLabelClass& Notice = *new InfoLabelClass(L"Notice");
InfoLabelClass& SizeLabel = *new InfoLabelClass(L"SizeLabel");

namespace {
constexpr UINT_PTR kHideTimer = 1;

HFONT LabelFont() {
  static HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return font;
}
}  // namespace

InfoLabelClass::InfoLabelClass(const wchar_t* name)
    : tk::Form({.name = name, .caption = L"Kirasoe", .backColor = ::GetSysColor(COLOR_INFOBK), .noActivate = true}) {}

void InfoLabelClass::ShowText(const std::wstring& text, const placement::Rect& anchor, const placement::Rect& avoid,
                              unsigned milliseconds) {
  text_ = text;
  HWND self = hWnd();
  SIZE extent{};
  {
    tk::WindowDC dc(self);
    tk::SelectedObject font(dc.get(), LabelFont());
    ::GetTextExtentPoint32W(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &extent);
  }
  const int w = extent.cx + 10, h = extent.cy + 6;
  // On the monitor of what it is beside.
  const RECT a{anchor.left, anchor.top, anchor.right, anchor.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromRect(&a, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& wa = info.rcWork;
  const placement::Rect r = placement::PlaceBeside(anchor, avoid, w, h, {wa.left, wa.top, wa.right, wa.bottom});
  ::SetWindowPos(self, HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(self, nullptr, TRUE);
  ::SetTimer(self, kHideTimer, milliseconds, nullptr);
}

void InfoLabelClass::Hide() {
  if (!Loaded()) return;
  ::KillTimer(hWnd(), kHideTimer);
  ::ShowWindow(hWnd(), SW_HIDE);
}

LRESULT InfoLabelClass::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_TIMER:
      if (wp == kHideTimer) Hide();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return tk::Form::OnMessage(msg, wp, lp);
  }
}

void InfoLabelClass::DrawControls(HDC dc) {
  RECT r{};
  ::GetClientRect(hWnd(), &r);
  ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  tk::SelectedObject font(dc, LabelFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kirasoe

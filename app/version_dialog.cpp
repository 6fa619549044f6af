#include "app/version_dialog.h"

#include <cwchar>
#include <initializer_list>

#include "core/numbers.h"
#include "core/twips.h"
#include "resources/resource.h"
#include "win/screen.h"

namespace {

// The dialog is laid out in pixels at 96 dpi and shown at the screen's scale
// by the one conversion.
int PxX(double at96) { return twips::ScaledFrom96(at96, win::CurrentScale().x); }
int PxY(double at96) { return twips::ScaledFrom96(at96, win::CurrentScale().y); }

constexpr int kClientWidth = 263, kClientHeight = 75;

bool FontInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  win::WindowDC dc(nullptr);
  bool found = false;
  ::EnumFontFamiliesExW(dc.get(), &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
    *reinterpret_cast<bool*>(p) = true;
    return 0;
  }, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

HFONT MakeFont(std::initializer_list<const wchar_t*> faces, double points, int charset) {
  const wchar_t* face = *faces.begin();
  for (const wchar_t* f : faces)
    if (FontInstalled(f)) {
      face = f;
      break;
    }
  win::WindowDC dc(nullptr);
  const int height = -num::ToInt32Saturated(points * ::GetDeviceCaps(dc.get(), LOGPIXELSY) / 72.0);
  return ::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, static_cast<DWORD>(charset), OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

}  // namespace

bool VersionDialog::Make() {
  HICON icon = ::LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_KIRASOE));
  if (!Create({.className = L"Kirasoe.Version", .title = title_.c_str(),
               .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN,
               .exStyle = WS_EX_DLGMODALFRAME, .owner = win::TaskbarlessOwner(), .icon = icon}))
    return false;
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  // A client area of the stated size, centred on the screen.
  RECT r{0, 0, PxX(kClientWidth), PxY(kClientHeight)};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(hwnd(), GWL_EXSTYLE)));
  const int w = r.right - r.left, h = r.bottom - r.top;
  Place(geometry::RectAt((::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h));
  nameFont_.reset(MakeFont({L"ＭＳ Ｐ明朝", L"MS PMincho", L"IPAPMincho", L"IPAMincho"}, 11.25, SHIFTJIS_CHARSET));
  versionFont_.reset(MakeFont({L"Times New Roman", L"Liberation Serif", L"DejaVu Serif"}, 9.75, ANSI_CHARSET));
  ok_ = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, PxX(205),
                          PxY(8), PxX(53), PxY(23), hwnd(), reinterpret_cast<HMENU>(IDOK), win::Instance(), nullptr);
  ::SendMessageW(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  ::SetFocus(ok_);
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

void VersionDialog::ShowModal(const std::vector<HWND>& disable) {
  if (!Make()) return;
  std::vector<HWND> disabled;
  for (HWND h : disable)
    if (h && ::IsWindowEnabled(h)) {
      ::EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
  Show();
  // A modal dialog runs the message loop until it is closed, as the system's
  // own dialogs do; the program is busy meanwhile, so nothing starts.
  MSG msg;
  while (Exists()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The end of the program's loop is the program's: given back, and the
      // dialog ends with it.
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      Destroy();
      break;
    }
    if (::IsDialogMessageW(hwnd(), &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  for (HWND h : disabled)
    if (::IsWindow(h)) ::EnableWindow(h, TRUE);
}

LRESULT VersionDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    // OK, Enter and Esc all close the dialog.
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) Destroy();
      return 0;
    case WM_CLOSE: Destroy(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    default: return Default(msg, wp, lp);
  }
}

void VersionDialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  if (HICON icon = ::LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_KIRASOE)))
    ::DrawIconEx(dc, PxX(12), PxY(16), icon, 32, 32, 0, nullptr, DI_NORMAL);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  RECT name{PxX(56), PxY(16), PxX(56 + 145), PxY(16 + 19)};
  {
    win::SelectedObject font(dc, nameFont_.get());
    ::DrawTextW(dc, L"Kirasoe", -1, &name, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT version{PxX(101), PxY(35), PxX(101 + 101), PxY(35 + 19)};
  {
    win::SelectedObject font(dc, versionFont_.get());
    ::DrawTextW(dc, L"Version 1.0.0", -1, &version, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  // The separator: a white line, a window-text line two pixels wide, a white line.
  struct Line {
    double x1, y1, x2;
    COLORREF colour;
    int width;
  } lines[] = {{-9, 58, 689, RGB(255, 255, 255), 1},
               {-3, 59, 689, ::GetSysColor(COLOR_WINDOWTEXT), 2},
               {-4, 58, 689, RGB(255, 255, 255), 1}};
  for (const Line& l : lines) {
    win::UniquePen pen(::CreatePen(PS_SOLID, l.width, l.colour));
    win::SelectedObject use(dc, pen.get());
    ::MoveToEx(dc, PxX(l.x1), PxY(l.y1), nullptr);
    ::LineTo(dc, PxX(l.x2), PxY(l.y1));
  }
  ::EndPaint(hwnd(), &ps);
}

#include "ui/frm_Version.h"

#include "resources/resource.h"
#include "toolkit/App.h"
#include "toolkit/Numbers.h"

namespace kirasoe {

frm_VersionClass& frm_Version = *new frm_VersionClass;

namespace {

constexpr float kClientWidth = 3945, kClientHeight = 1125;  // twips

int PxX(double twips) { return num::ToInt32Saturated(twips / tk::Screen::TwipsPerPixelX()); }
int PxY(double twips) { return num::ToInt32Saturated(twips / tk::Screen::TwipsPerPixelY()); }

bool FontInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  tk::WindowDC dc(nullptr);
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
  tk::WindowDC dc(nullptr);
  int height = -num::ToInt32Saturated(points * ::GetDeviceCaps(dc.get(), LOGPIXELSY) / 72.0);
  return ::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, static_cast<DWORD>(charset), OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

}  // namespace

frm_VersionClass::frm_VersionClass()
    : tk::Form({.name = L"frm_Version", .caption = L"バージョン情報", .border = tk::BorderStyle::FixedDialog,
                .iconId = IDI_KIRASOE}) {}

void frm_VersionClass::Form_Load() {
  // Client area of the stated size, centred on the screen.
  RECT r{0, 0, PxX(kClientWidth), PxY(kClientHeight)};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongW(hWnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(hWnd(), GWL_EXSTYLE)));
  const int w = r.right - r.left, h = r.bottom - r.top;
  ::SetWindowPos(hWnd(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 w, h, SWP_NOZORDER | SWP_NOACTIVATE);

  nameFont_.reset(MakeFont({L"ＭＳ Ｐ明朝", L"MS PMincho", L"IPAPMincho", L"IPAMincho"}, 11.25, SHIFTJIS_CHARSET));
  versionFont_.reset(MakeFont({L"Times New Roman", L"Liberation Serif", L"DejaVu Serif"}, 9.75, ANSI_CHARSET));
  buttonFont_.reset(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  command1_ = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                PxX(3075), PxY(120), PxX(795), PxY(345), hWnd(), reinterpret_cast<HMENU>(IDOK),
                                tk::App::hInstance(), nullptr);
  ::SendMessageW(command1_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()), TRUE);
  ::SetFocus(command1_);

  ::SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void frm_VersionClass::Form_Unload() {
  command1_ = nullptr;
  buttonFont_.release();  // a stock object: not ours to delete
  nameFont_.reset();
  versionFont_.reset();
}

void frm_VersionClass::Command1_Click() { Unload(tk::kFormCode); }

LRESULT frm_VersionClass::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  // OK, Enter and Esc all close the dialog.
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    Command1_Click();
    return 0;
  }
  return tk::Form::OnMessage(msg, wp, lp);
}

void frm_VersionClass::DrawControls(HDC dc) {
  if (HICON icon = ::LoadIconW(tk::App::hInstance(), MAKEINTRESOURCEW(IDI_KIRASOE)))
    ::DrawIconEx(dc, PxX(180), PxY(240), icon, 32, 32, 0, nullptr, DI_NORMAL);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  RECT name{PxX(840), PxY(240), PxX(840 + 2175), PxY(240 + 285)};
  {
    tk::SelectedObject font(dc, nameFont_.get());
    ::DrawTextW(dc, L"Kirasoe", -1, &name, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT version{PxX(1515), PxY(525), PxX(1515 + 1515), PxY(525 + 285)};
  {
    tk::SelectedObject font(dc, versionFont_.get());
    ::DrawTextW(dc, L"Version 1.0.0", -1, &version, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  // The separator: a white line, a window-text line two pixels wide, a white line.
  struct Line {
    double x1, y1, x2;
    COLORREF colour;
    int width;
  } lines[] = {{-135, 870, 10330, RGB(255, 255, 255), 1},
               {-45, 885, 10330, ::GetSysColor(COLOR_WINDOWTEXT), 2},
               {-60, 870, 10330, RGB(255, 255, 255), 1}};
  for (const Line& l : lines) {
    tk::UniquePen pen(::CreatePen(PS_SOLID, l.width, l.colour));
    tk::SelectedObject use(dc, pen.get());
    ::MoveToEx(dc, PxX(l.x1), PxY(l.y1), nullptr);
    ::LineTo(dc, PxX(l.x2), PxY(l.y1));
  }
}

}  // namespace kirasoe

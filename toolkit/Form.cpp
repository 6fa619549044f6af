#include "toolkit/Form.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/App.h"
#include "toolkit/Twips.h"

namespace tk {
namespace {

std::vector<Form*>& Registry() {
  static std::vector<Form*> forms;
  return forms;
}

int PxX(double twipsValue) { return twips::ToPixels(twipsValue, Screen::TwipsPerPixelX()); }
int PxY(double twipsValue) { return twips::ToPixels(twipsValue, Screen::TwipsPerPixelY()); }
float TwX(int pixels) { return static_cast<float>(twips::FromPixels(pixels, Screen::TwipsPerPixelX())); }
float TwY(int pixels) { return static_cast<float>(twips::FromPixels(pixels, Screen::TwipsPerPixelY())); }

short ButtonsHeld(WPARAM wp) {
  short b = 0;
  if (wp & MK_LBUTTON) b |= 1;
  if (wp & MK_RBUTTON) b |= 2;
  if (wp & MK_MBUTTON) b |= 4;
  return b;
}

short ShiftState(WPARAM wp) {
  short s = 0;
  if (wp & MK_SHIFT) s |= 1;
  if (wp & MK_CONTROL) s |= 2;
  if (::GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

}  // namespace

std::vector<Form*> LoadedForms() { return Registry(); }

// A hidden window that owns the forms with a title bar, so that they get no
// button in the taskbar.
static HWND OwnerWindow() {
  static HWND owner = ::CreateWindowExW(0, L"STATIC", L"Kirasoe", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        App::hInstance(), nullptr);
  return owner;
}

Form::Form(const FormSpec& design)
    : name_(design.name),
      caption_(design.caption),
      iconId_(design.iconId),
      border_(design.border),
      showInTaskbar_(design.showInTaskbar),
      backColor_(design.backColor),
      noActivate_(design.noActivate) {}

void Form::Load() {
  if (Loaded()) return;
  DWORD style = WS_CLIPCHILDREN;
  DWORD ex = showInTaskbar_ ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  HWND owner = nullptr;
  if (border_ == BorderStyle::None) {
    style |= WS_POPUP;
  } else {
    style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    ex = WS_EX_DLGMODALFRAME | (showInTaskbar_ ? WS_EX_APPWINDOW : 0);
    // Owned instead of a tool window, so it keeps its normal title bar and
    // still gets no taskbar button.
    if (!showInTaskbar_) owner = OwnerWindow();
  }
  if (noActivate_) ex |= WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TRANSPARENT;
  std::wstring cls = L"Kirasoe." + name_;
  HICON icon = iconId_ ? ::LoadIconW(App::hInstance(), MAKEINTRESOURCEW(iconId_)) : nullptr;
  if (!CreateNative(cls.c_str(), CS_DBLCLKS | CS_OWNDC, style, ex, caption_.c_str(), 0, 0, 100, 100, icon, owner))
    return;
  if (icon) ::SendMessageW(Window::hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  backBrush_.reset(::CreateSolidBrush(backColor_));
  Registry().push_back(this);
  Form_Load();
}

void Form::Unload(UnloadMode mode) {
  // The exit handlers of two forms unload each other; a form already on its
  // way out is not unloaded a second time.
  if (!Loaded() || unloading_) return;
  unloading_ = true;
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel || !Loaded()) {
    unloading_ = false;
    return;
  }
  Form_Unload();
  if (Loaded()) ::DestroyWindow(Window::hWnd());
  unloading_ = false;
}

void Form::OnDetached() noexcept {
  auto& forms = Registry();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (imageDc_ && imageOld_) ::SelectObject(imageDc_.get(), imageOld_);
  imageOld_ = nullptr;
  imageDc_.reset();
  image_.reset();
  imageSize_ = {0, 0};
}

HWND Form::hWnd() {
  Load();
  return Window::hWnd();
}

RECT Form::WindowRectPx() {
  RECT r{};
  ::GetWindowRect(hWnd(), &r);
  return r;
}

void Form::MoveWindowPx(int x, int y, int w, int h) {
  ::SetWindowPos(hWnd(), nullptr, x, y, std::max(w, 0), std::max(h, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Left() { return TwX(WindowRectPx().left); }
float Form::Top() { return TwY(WindowRectPx().top); }
float Form::Width() {
  RECT r = WindowRectPx();
  return TwX(r.right - r.left);
}
float Form::Height() {
  RECT r = WindowRectPx();
  return TwY(r.bottom - r.top);
}
void Form::Left(float v) {
  RECT r = WindowRectPx();
  MoveWindowPx(PxX(v), r.top, r.right - r.left, r.bottom - r.top);
}
void Form::Top(float v) {
  RECT r = WindowRectPx();
  MoveWindowPx(r.left, PxY(v), r.right - r.left, r.bottom - r.top);
}
void Form::Width(float v) {
  RECT r = WindowRectPx();
  MoveWindowPx(r.left, r.top, PxX(v), r.bottom - r.top);
}
void Form::Height(float v) {
  RECT r = WindowRectPx();
  MoveWindowPx(r.left, r.top, r.right - r.left, PxY(v));
}
void Form::Move(float left, float top, float width, float height) {
  MoveWindowPx(PxX(left), PxY(top), PxX(width), PxY(height));
}
float Form::ScaleWidth() {
  RECT r{};
  ::GetClientRect(hWnd(), &r);
  return TwX(r.right);
}
float Form::ScaleHeight() {
  RECT r{};
  ::GetClientRect(hWnd(), &r);
  return TwY(r.bottom);
}

bool Form::Visible() { return Loaded() && ::IsWindowVisible(Window::hWnd()); }
void Form::Visible(bool show) { ::ShowWindow(hWnd(), show ? SW_SHOW : SW_HIDE); }
void Form::ShowNoActivate() { ::ShowWindow(hWnd(), SW_SHOWNA); }

void Form::BackColor(COLORREF colour) {
  backColor_ = colour;
  backBrush_.reset(::CreateSolidBrush(colour));
  if (Loaded()) ::InvalidateRect(Window::hWnd(), nullptr, TRUE);
}

void Form::AutoRedraw(bool on) {
  autoRedraw_ = on;
  if (on) EnsureImage();
}

void Form::EnsureImage() {
  RECT rc{};
  ::GetClientRect(hWnd(), &rc);
  SIZE want{std::max<LONG>(rc.right, imageSize_.cx), std::max<LONG>(rc.bottom, imageSize_.cy)};
  want.cx = std::max<LONG>(want.cx, 1);
  want.cy = std::max<LONG>(want.cy, 1);
  if (imageDc_ && want.cx == imageSize_.cx && want.cy == imageSize_.cy) return;
  WindowDC screen(Window::hWnd());
  MemoryDC dc(::CreateCompatibleDC(screen.get()));
  UniqueBitmap bmp(::CreateCompatibleBitmap(screen.get(), want.cx, want.cy));
  if (!dc || !bmp) return;
  HGDIOBJ old = ::SelectObject(dc.get(), bmp.get());
  RECT all{0, 0, want.cx, want.cy};
  ::FillRect(dc.get(), &all, backBrush_.get());
  if (imageDc_) {  // keep what was drawn so far
    ::BitBlt(dc.get(), 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
    ::SelectObject(imageDc_.get(), imageOld_);
  }
  imageDc_ = std::move(dc);
  image_ = std::move(bmp);
  imageOld_ = old;
  imageSize_ = want;
}

HDC Form::hDC() {
  if (autoRedraw_) {
    EnsureImage();
    return imageDc_.get();
  }
  return ::GetDC(hWnd());  // the class keeps one DC per window (CS_OWNDC)
}

void Form::Cls() {
  if (autoRedraw_) {
    EnsureImage();
    RECT all{0, 0, imageSize_.cx, imageSize_.cy};
    ::FillRect(imageDc_.get(), &all, backBrush_.get());
  }
  ::InvalidateRect(hWnd(), nullptr, TRUE);
}

void Form::PaintPicture(HBITMAP picture, float x, float y, DWORD rop) {
  BITMAP bm{};
  if (!picture || !::GetObjectW(picture, sizeof bm, &bm)) return;
  HDC target = hDC();
  MemoryDC src(::CreateCompatibleDC(target));
  SelectedObject sel(src.get(), picture);
  ::BitBlt(target, PxX(x), PxY(y), bm.bmWidth, bm.bmHeight, src.get(), 0, 0, rop);
  if (autoRedraw_) ::InvalidateRect(hWnd(), nullptr, FALSE);
}

void Form::Pointer(MousePointer p) {
  pointer_ = p;
  if (!Loaded()) return;
  POINT pt;
  ::GetCursorPos(&pt);
  if (::WindowFromPoint(pt) == Window::hWnd() || ::GetCapture() == Window::hWnd())
    ::SendMessageW(Window::hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window::hWnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    switch (msg) {
      case WM_ERASEBKGND: {
        if (autoRedraw_) return 1;
        RECT rc;
        ::GetClientRect(Window::hWnd(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wp), &rc, backBrush_.get());
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Window::hWnd(), &ps);
        if (autoRedraw_ && imageDc_)
          ::BitBlt(dc, 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
        DrawControls(dc);
        ::EndPaint(Window::hWnd(), &ps);
        return 0;
      }
      case WM_SETCURSOR: {
        LPCWSTR id = nullptr;
        switch (pointer_) {
          case MousePointer::SizeAll: id = IDC_SIZEALL; break;
          case MousePointer::SizeNESW: id = IDC_SIZENESW; break;
          case MousePointer::SizeNWSE: id = IDC_SIZENWSE; break;
          case MousePointer::Default: break;
        }
        if (id && LOWORD(lp) == HTCLIENT) {
          ::SetCursor(::LoadCursorW(nullptr, id));
          return TRUE;
        }
        break;
      }
      case WM_CLOSE:
        Unload(kFormControlMenu);
        return 0;
      case WM_QUERYENDSESSION:
        return TRUE;
      case WM_ENDSESSION:
        // Logging off or shutting down: the program's first form, whose exit
        // handling writes the settings and ends the process, is unloaded as
        // a close would unload it.
        if (wp && !Registry().empty()) Registry().front()->Unload(kAppWindows);
        return 0;
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      case WM_MOUSEMOVE: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
        Dispatch(msg, wp, lp);
        return 0;
      default:
        break;
    }
  } catch (...) {
    // An event handler's failure must not unwind through the system.
  }
  return Default(msg, wp, lp);
}

void Form::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // Each handler may end the process or destroy this window; nothing is
  // touched after the call.
  float x = TwX(GET_X_LPARAM(lp));
  float y = TwY(GET_Y_LPARAM(lp));
  short shift = ShiftState(wp);
  HWND self = Window::hWnd();
  switch (msg) {
    case WM_LBUTTONDOWN: ::SetCapture(self); Form_MouseDown(1, shift, x, y); break;
    case WM_RBUTTONDOWN: ::SetCapture(self); Form_MouseDown(2, shift, x, y); break;
    case WM_MBUTTONDOWN: ::SetCapture(self); Form_MouseDown(4, shift, x, y); break;
    case WM_RBUTTONDBLCLK: ::SetCapture(self); Form_MouseDown(2, shift, x, y); break;
    case WM_LBUTTONDBLCLK: ::SetCapture(self); Form_DblClick(); break;
    case WM_MOUSEMOVE: Form_MouseMove(ButtonsHeld(wp), shift, x, y); break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      short b = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
      if (!ButtonsHeld(wp) && ::GetCapture() == self) ::ReleaseCapture();
      Form_MouseUp(b, shift, x, y);
      break;
    }
    default: break;
  }
}

void ShowModal(Form& form) {
  form.Load();
  std::vector<HWND> disabled;
  for (Form* other : Registry())
    if (other != &form && ::IsWindowEnabled(other->hWnd())) {
      ::EnableWindow(other->hWnd(), FALSE);
      disabled.push_back(other->hWnd());
    }
  form.Visible(true);
  HWND self = form.hWnd();
  MSG msg;
  while (form.Loaded() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.Loaded() && ::IsDialogMessageW(self, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  for (HWND h : disabled)
    if (::IsWindow(h)) ::EnableWindow(h, TRUE);
}

namespace {

void AppendItems(HMENU menu, const MenuItem& parent, std::vector<const MenuItem*>& byId) {
  for (const MenuItem* item : parent.children) {
    if (!item->visible) continue;
    if (item->caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->checked ? MF_CHECKED : 0) | (item->enabled ? 0 : MF_GRAYED);
    if (!item->children.empty()) {
      HMENU sub = ::CreatePopupMenu();  // owned by `menu` once appended
      AppendItems(sub, *item, byId);
      ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->caption.c_str());
    } else {
      byId.push_back(item);
      ::AppendMenuW(menu, flags, byId.size(), item->caption.c_str());
    }
  }
}

}  // namespace

void PopupMenu(HWND owner, const MenuItem& menu) {
  std::vector<const MenuItem*> byId;
  UniqueMenu popup(::CreatePopupMenu());
  AppendItems(popup.get(), menu, byId);
  POINT pt;
  ::GetCursorPos(&pt);
  // The owner must be the foreground window, or the menu does not close when
  // the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  UINT id = static_cast<UINT>(::TrackPopupMenu(popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                               pt.x, pt.y, 0, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  popup.reset();
  if (id >= 1 && id <= byId.size() && byId[id - 1]->click) {
    auto click = byId[id - 1]->click;  // the handler may end the program
    click();
  }
}

}  // namespace tk

#include "app/camera_window.h"

#include "core/outline.h"
#include "resources/resource.h"
#include "win/clipboard.h"
#include "win/message_box.h"
#include "win/region.h"
#include "win/paint.h"
#include "win/screen.h"
#include "win/system_move.h"
#include "win/failure_log.h"

bool CameraWindow::Open(const geometry::Rect& bounds) {
  picture_.reset(static_cast<HBITMAP>(
      ::LoadImageW(win::Instance(), MAKEINTRESOURCEW(IDB_CAMERA), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  home_ = {bounds.left, bounds.top};
  return Create({.className = L"Kirasoe.Camera", .at = bounds});
}

namespace {
constexpr UINT kGoHome = WM_APP + 7;
}  // namespace

void CameraWindow::Place(const geometry::Rect& r) {
  home_ = {r.left, r.top};
  placing_ = true;
  win::Window::Place(r);
  placing_ = false;
}

void CameraWindow::GoHome() {
  const geometry::Rect now = Bounds();
  if (!dragging_ && Visible() && (now.left != home_.x || now.top != home_.y))
    Place(geometry::RectAt(home_.x, home_.y, now.Width(), now.Height()));
}

void CameraWindow::OnPositionChanged() {
  if (placing_ || dragging_ || !Visible()) return;
  const geometry::Rect now = Bounds();
  // Put back once the system has finished with this change.
  if (now.left != home_.x || now.top != home_.y) ::PostMessageW(hwnd(), kGoHome, 0, 0);
}

const wchar_t* CameraWindow::Shape(const geometry::Rect& bounds) {
  Place(bounds);
  const wchar_t* failure = ApplyOutline(hwnd(), outline::CameraRects());
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return failure;
}

const wchar_t* ApplyOutline(HWND hwnd, const std::vector<geometry::Rect>& rects) {
  win::UniqueRgn region = win::RegionFromRects(rects);
  if (!region) return L"It failed in reading of region data.";
  if (!win::GiveRegion(hwnd, region)) return L"It failed in plastic surgery of a window.";
  return nullptr;
}

void ApplyOutlineOrEnd(HWND hwnd, const std::vector<geometry::Rect>& rects) {
  const wchar_t* failure = ApplyOutline(hwnd, rects);
  if (!failure) return;
  win::ShowMessage(failure);
  win::clipboard::RenderBeforeExit();
  ::ExitProcess(0);
}

LRESULT CameraWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    switch (msg) {
      case WM_ERASEBKGND: return 1;
      case WM_WINDOWPOSCHANGED: OnPositionChanged(); break;
      case kGoHome: GoHome(); return 0;
      case WM_PAINT: win::PaintPicture(hwnd(), COLOR_BTNFACE, picture_.get()); return 0;
      case WM_LBUTTONDOWN: OnLeftDown(); return 0;
      case WM_MOUSEMOVE: OnMouseMove(wp); return 0;
      case WM_LBUTTONUP:
        pressed_ = false;
        if (::GetCapture() == hwnd()) ::ReleaseCapture();
        return 0;
      case WM_LBUTTONDBLCLK: owner_.CaptureRequested(::GetKeyState(VK_SHIFT) < 0); return 0;
      case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: owner_.MenuRequested(hwnd()); return 0;
      case WM_KEYDOWN:
        if (OnKeyDown(wp)) return 0;
        break;
      case WM_HOTKEY: owner_.HotKeyPressed(static_cast<int>(wp)); return 0;
      case WM_SETCURSOR:
        if (!owner_.Saving()) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      case WM_QUERYENDSESSION: return TRUE;
      case WM_ENDSESSION:
        if (wp) owner_.ExitRequested(true);
        return 0;
      case WM_CLOSE: owner_.ExitRequested(false); return 0;
      case WM_DISPLAYCHANGE: case WM_DPICHANGED: owner_.DisplayChanged(); break;
      case WM_SETTINGCHANGE:
        if (wp == SPI_SETWORKAREA) owner_.DisplayChanged();
        break;
      default: break;
    }
  } catch (...) {
    // A handler's failure must not unwind through the system.
    win::LogCurrentException(L"camera window");
  }
  return Default(msg, wp, lp);
}

void CameraWindow::OnLeftDown() {
  if (owner_.CameraPressed()) return;
  ::SetCapture(hwnd());
  pressed_ = true;
  pressedAt_ = win::CursorPos();
}

void CameraWindow::OnMouseMove(WPARAM buttons) {
  if (!pressed_) {
    owner_.PointerOverCamera();
    return;
  }
  // A click without moving never moves the camera.
  if (!(buttons & MK_LBUTTON) || win::CursorPos() == pressedAt_) return;
  pressed_ = false;
  owner_.SystemMoveStarted();
  dragging_ = true;
  win::MoveWithSystemLoop(hwnd());
  dragging_ = false;
  const geometry::Rect dropped = Bounds();
  home_ = {dropped.left, dropped.top};
  owner_.SystemMoveEnded();
}

bool CameraWindow::OnKeyDown(WPARAM key) {
  int dx = 0, dy = 0;
  switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return false;
  }
  owner_.FrameKey(dx, dy, ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0);
  return true;
}

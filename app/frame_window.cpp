#include "app/frame_window.h"

#include "win/region.h"
#include "win/screen.h"
#include "win/system_move.h"
#include "win/failure_log.h"

namespace {
constexpr UINT kCheckPlace = WM_APP + 1;  // see OnPositionChanged
}  // namespace

COLORREF FrameColour(int index) {
  switch (index) {
    case 0: return RGB(0, 0, 0);
    case 2: return RGB(255, 255, 255);
    default: return RGB(128, 128, 128);
  }
}

bool FrameWindow::Open(const CaptureArea& area, COLORREF colour) {
  if (!Create({.className = L"Kirasoe.Frame", .style = WS_POPUP | WS_CLIPCHILDREN, .at = area.Pixels()})) return false;
  win::DisableTransitions(hwnd());
  shapedWidth_ = shapedHeight_ = -1;  // a new window has no shape yet
  brush_.reset(::CreateSolidBrush(colour));
  // Placed while still hidden: a window manager may keep the first geometry
  // it sees when the window is mapped.
  pixels_ = area.Pixels();
  Place(pixels_);
  win::MakeTopmost(hwnd(), false);
  Layout(area);
  return true;
}

void FrameWindow::Layout(const CaptureArea& area) {
  // Setting the region is a change of the window too: the whole layout is
  // the program's own placing.
  placing_ = true;
  const geometry::Rect a = area.Pixels();
  pixels_ = outside_ ? geometry::Rect{a.left - 1, a.top - 1, a.right + 1, a.bottom + 1} : a;
  if (pixels_.Width() != shapedWidth_ || pixels_.Height() != shapedHeight_) {
    win::UniqueRgn shape = Shape(a);
    if (win::GiveRegion(hwnd(), shape)) {
      shapedWidth_ = pixels_.Width();
      shapedHeight_ = pixels_.Height();
    }
  }
  outlines_ = frame::HandleOutlines(area.Stored().w, area.Stored().h, area.Scale());
  Place(pixels_);
  placing_ = false;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

win::UniqueRgn FrameWindow::Shape(const geometry::Rect& area) const {
  const frame::Layout l = frame::ComputeLayout(pixels_.Width(), pixels_.Height());
  const int squares = outside_ ? 0 : static_cast<int>(l.squares.size());
  win::UniqueRgn shape = win::PolygonWithSquares(l.ring.data(), static_cast<int>(l.ring.size()), l.squares.data(),
                                                 frame::kUnionOrder.data(), squares);
  // The window starts one pixel before the area when it stands outside it.
  const std::int32_t shift = outside_ ? 1 : 0;
  std::vector<geometry::Rect> hatching;
  for (const masks::Mask& m : masks::Clipped(masks_, area.Width(), area.Height()))
    for (const geometry::Rect& r : masks::Hatching(m))
      hatching.push_back({r.left + shift, r.top + shift, r.right + shift, r.bottom + shift});
  win::AddRects(shape, hatching);
  return shape;
}

void FrameWindow::ShowMasks(const masks::List& masks, const CaptureArea& area) {
  if (masks == masks_) return;
  masks_ = masks;
  shapedWidth_ = shapedHeight_ = -1;  // another shape
  Layout(area);
}

void FrameWindow::ShowOutside(bool outside, const CaptureArea& area) {
  if (outside == outside_) return;
  outside_ = outside;
  shapedWidth_ = shapedHeight_ = -1;  // another shape
  Layout(area);
}

void FrameWindow::SetColour(COLORREF colour) {
  brush_.reset(::CreateSolidBrush(colour));
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT FrameWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    switch (msg) {
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: Paint(); return 0;
      case WM_SETCURSOR:
        if (OnSetCursor(lp)) return TRUE;
        break;
      case WM_LBUTTONDOWN: OnLeftDown(); return 0;
      case WM_MOUSEMOVE: OnMouseMove(wp); return 0;
      case WM_LBUTTONUP: EndResize(); return 0;
      // Alt+Tab or another program taking the mouse ends a resize: without
      // the mouse the release never comes here.
      case WM_CAPTURECHANGED: case WM_CANCELMODE: EndResize(); break;
      case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: owner_.MenuRequested(hwnd()); return 0;
      case WM_ENTERSIZEMOVE: inMoveLoop_ = true; break;
      case WM_EXITSIZEMOVE: inMoveLoop_ = false; break;
      case WM_MOVE:
        if (inMoveLoop_) owner_.FrameMoving();
        break;
      case WM_WINDOWPOSCHANGED: OnPositionChanged(); break;
      case kCheckPlace: CheckPlace(); return 0;
      case WM_QUERYENDSESSION: return TRUE;
      case WM_ENDSESSION:
        if (wp) owner_.ExitRequested(true);
        return 0;
      case WM_CLOSE: owner_.ExitRequested(false); return 0;
      default: break;
    }
  } catch (...) {
    // A handler's failure must not unwind through the system.
    win::LogCurrentException(L"frame window");
  }
  return Default(msg, wp, lp);
}

geometry::Point FrameWindow::CursorInFrame() const {
  const geometry::Point p = win::CursorPos();
  const geometry::Rect r = Bounds();
  return {p.x - r.left, p.y - r.top};
}

void FrameWindow::OnPositionChanged() {
  // The program's own placing and the user's move (followed when it ends)
  // are known; any other change comes from the system, a window manager or
  // another program. Looked at once the moment has passed: under Wine a
  // window manager's re-parenting reports passing positions.
  if (placing_ || inMoveLoop_ || moving_ || !Visible()) return;
  if (Bounds() != pixels_) ::PostMessageW(hwnd(), kCheckPlace, 0, 0);
}

void FrameWindow::CheckPlace() {
  if (placing_ || inMoveLoop_ || moving_ || !Visible() || Bounds() == pixels_) return;
  owner_.FrameMovedBySystem(Bounds());
}

void FrameWindow::OnLeftDown() {
  if (outside_) return;  // a recording's frame stays where it is
  const frame::Hit hit = frame::HitTest(CursorInFrame(), pixels_.Width(), pixels_.Height());
  if (hit.corner != frame::Corner::None) {
    ::SetCapture(hwnd());
    corner_ = hit.corner;
    return;
  }
  owner_.SystemMoveStarted();
  moving_ = true;
  win::MoveWithSystemLoop(hwnd());
  moving_ = false;
  const geometry::Rect moved = Bounds();
  owner_.FrameChanged(geometry::RectAt(moved.left, moved.top, pixels_.Width(), pixels_.Height()));
  owner_.SystemMoveEnded();
}

void FrameWindow::OnMouseMove(WPARAM buttons) {
  if (!Resizing()) return;
  // A resize lasts only while the left button is held: a release that went
  // elsewhere (another program took the mouse) ends it.
  if (!(buttons & MK_LBUTTON)) {
    EndResize();
    return;
  }
  // The pointer where it is now, not where this message saw it: moves
  // queued behind a resize are relative to where the window was before it.
  const geometry::Rect resized = frame::Resize(pixels_, corner_, CursorInFrame());
  if (resized != pixels_) owner_.FrameChanged(resized);
}

void FrameWindow::EndResize() {
  corner_ = frame::Corner::None;
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
}

bool FrameWindow::OnSetCursor(LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT) return false;
  frame::Cursor cursor = frame::Cursor::Move;
  if (Resizing()) {
    const bool nwse = corner_ == frame::Corner::TopLeft || corner_ == frame::Corner::BottomRight;
    cursor = nwse ? frame::Cursor::NorthWestSouthEast : frame::Cursor::NorthEastSouthWest;
  } else {
    cursor = frame::HitTest(CursorInFrame(), pixels_.Width(), pixels_.Height()).cursor;
  }
  const LPCWSTR id = cursor == frame::Cursor::Move                 ? IDC_SIZEALL
                     : cursor == frame::Cursor::NorthWestSouthEast ? IDC_SIZENWSE
                                                                   : IDC_SIZENESW;
  ::SetCursor(::LoadCursorW(nullptr, id));
  return true;
}

void FrameWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ::FillRect(dc, &client, brush_.get());
  win::UniquePen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT)));
  win::SelectedObject usePen(dc, pen.get());
  win::SelectedObject noFill(dc, ::GetStockObject(NULL_BRUSH));
  if (!outside_)
    for (const geometry::Rect& r : outlines_) ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
  ::EndPaint(hwnd(), &ps);
}

#include "frame/Form3.h"

#include "app/Globals.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "toolkit/Numbers.h"
#include "ui/InfoLabel.h"
#include "ui/frmMenu.h"

namespace kirasoe {

namespace uf = mod_RGN_UserFunction;

Form3Class& Form3 = *new Form3Class;

namespace {
constexpr float kHandleTwips = 75;  // the handle outlines' fixed size
}

Form3Class::Form3Class() : tk::Form({.name = L"Form3", .caption = L"Kirasoe"}) {}

COLORREF FrameColours(int index) {
  switch (index) {
    case 0: return RGB(0, 0, 0);
    case 2: return RGB(255, 255, 255);
    default: return RGB(128, 128, 128);
  }
}

void Form3Class::Form_Load() {
  tk::DisableTransitions(hWnd());
  // A hand-edited colour outside the three choices shows grey and is grey
  // from then on, so that exactly one colour item is checked.
  if (LineC < 0 || LineC > 2) LineC = 1;
  BackColor(FrameColours(LineC));
  frmMenu.mc(LineC).checked = true;
  // Placed while still hidden: a window manager may keep the first geometry
  // it sees when the window is mapped, and the window was made 100 x 100.
  Move(static_cast<float>(SnapX), static_cast<float>(SnapY), static_cast<float>(SnapW), static_cast<float>(SnapH));
  // Shown with activation: under Wine a frame that is activated only by the
  // first press loses the mouse in the middle of a drag.
  uf::SetTopmost(*this, false);
  ButtonState = L"UP";
  LayoutFrame();
}

void Form3Class::LayoutFrame() {
  const double tppX = tk::Screen::TwipsPerPixelX(), tppY = tk::Screen::TwipsPerPixelY();
  const frame::Layout l = frame::ComputeLayout(SnapW, SnapH, tppX, tppY);

  POINT ring[10];
  for (int i = 0; i < 10; ++i) ring[i] = {l.ring[i].x, l.ring[i].y};
  tk::UniqueRgn shape(::CreatePolygonRgn(ring, 10, ALTERNATE));
  for (int index : frame::kUnionOrder) {
    const region::Rect& sq = l.squares[index];
    POINT corners[4] = {{sq.left, sq.top}, {sq.right, sq.top}, {sq.right, sq.bottom}, {sq.left, sq.bottom}};
    tk::UniqueRgn square(::CreatePolygonRgn(corners, 4, ALTERNATE));
    ::CombineRgn(shape.get(), shape.get(), square.get(), RGN_OR);
  }
  if (shape && ::SetWindowRgn(hWnd(), shape.get(), TRUE)) shape.release();  // the window owns it now

  shape1_ = l.handles;
  Move(static_cast<float>(SnapX), static_cast<float>(SnapY), static_cast<float>(SnapW), static_cast<float>(SnapH));
  ::InvalidateRect(hWnd(), nullptr, TRUE);
}

void Form3Class::DrawControls(HDC dc) {
  const double tppX = tk::Screen::TwipsPerPixelX(), tppY = tk::Screen::TwipsPerPixelY();
  tk::UniquePen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT)));
  tk::SelectedObject usePen(dc, pen.get());
  tk::SelectedObject noFill(dc, ::GetStockObject(NULL_BRUSH));
  const int w = num::ToInt32Saturated(kHandleTwips / tppX), h = num::ToInt32Saturated(kHandleTwips / tppY);
  for (const frame::Point& p : shape1_) {
    int x = num::ToInt32Saturated(p.x / tppX), y = num::ToInt32Saturated(p.y / tppY);
    ::Rectangle(dc, x, y, x + w, y + h);
  }
}

void Form3Class::ShowSize() {
  RECT r{};
  ::GetWindowRect(hWnd(), &r);
  const placement::Rect frame{r.left, r.top, r.right, r.bottom};
  SizeLabel.ShowText(frame::SizeText({SnapX, SnapY, SnapW, SnapH}, tk::Screen::TwipsPerPixelX(),
                                     tk::Screen::TwipsPerPixelY()),
                     frame, frame, 1000);
}

void Form3Class::HitTestFrame(float x, float y) {
  frame::Hit hit = frame::HitTest(x, y, SnapW, SnapH, uf::PixelsToTwipsX(frame::kHandlePixels),
                                  uf::PixelsToTwipsY(frame::kHandlePixels));
  switch (hit.cursor) {
    case frame::Cursor::Move: Pointer(tk::MousePointer::SizeAll); break;
    case frame::Cursor::NorthWestSouthEast: Pointer(tk::MousePointer::SizeNWSE); break;
    case frame::Cursor::NorthEastSouthWest: Pointer(tk::MousePointer::SizeNESW); break;
  }
  HitCorner = static_cast<float>(hit.corner);
}

void Form3Class::ResizeFrame(float x, float y) {
  frame::Snap snap{SnapX, SnapY, SnapW, SnapH};
  frame::Resize(snap, static_cast<int>(HitCorner), x, y, uf::PixelsToTwipsX(frame::kMinFramePixels),
                uf::PixelsToTwipsY(frame::kMinFramePixels), tk::Screen::TwipsPerPixelX(),
                tk::Screen::TwipsPerPixelY());
  SnapX = snap.x;
  SnapY = snap.y;
  SnapW = snap.w;
  SnapH = snap.h;
}

void Form3Class::Form_MouseDown(short button, short /*shift*/, float /*x*/, float /*y*/) {
  if (button == 2) frmMenu.Popup(*this);
  if (button == 1) {
    if (HitCorner != 0) {
      ButtonState = L"DOWN";
    } else {
      uf::DragForm(*this);
      SnapX = num::ToInt32Saturated(Left());
      SnapY = num::ToInt32Saturated(Top());
    }
  }
}

void Form3Class::Form_MouseUp(short button, short /*shift*/, float /*x*/, float /*y*/) {
  if (button == 1) ButtonState = L"UP";
}

LRESULT Form3Class::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  // Alt+Tab or another program taking the mouse ends a resize: without the
  // mouse the release never comes here.
  if (msg == WM_CAPTURECHANGED || msg == WM_CANCELMODE) ButtonState = L"UP";
  // The system's move loop: the size label follows the frame.
  if (msg == WM_ENTERSIZEMOVE) inMoveLoop_ = true;
  if (msg == WM_EXITSIZEMOVE) inMoveLoop_ = false;
  if (msg == WM_MOVE && inMoveLoop_) ShowSize();
  return tk::Form::OnMessage(msg, wp, lp);
}

void Form3Class::Form_MouseMove(short button, short /*shift*/, float x, float y) {
  // Pending events first, so the frame is repainted before the next step. A
  // move handled during that pass is newer than this one, and this one's
  // position is relative to where the window was before it: drop it.
  const unsigned generation = ++moveGeneration_;
  tk::DoEvents();
  if (generation != moveGeneration_) return;
  // A resize lasts only while the left button is held: a release that went
  // elsewhere (another program took the mouse) ends it.
  if (ButtonState == L"DOWN" && !(button & 1)) ButtonState = L"UP";
  if (ButtonState == L"DOWN") {
    ResizeFrame(x, y);
    LayoutFrame();
    ShowSize();
  } else {
    HitTestFrame(x, y);
  }
}

}  // namespace kirasoe

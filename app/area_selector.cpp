#include "app/area_selector.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/frame_tools.h"
#include "win/failure_log.h"
#include "win/screen.h"
#include "win/window_pick.h"

namespace {

constexpr std::int32_t kStripRows = 64;
// The line around what is marked, one pixel outside it, and the
// magnifier's colours.
constexpr std::uint32_t kRing = 0x0078D7, kMagnifierBorder = 0x808080, kCentreOutline = 0xFF0000,
                        kTextBand = 0x202020;

geometry::Rect Inflated(const geometry::Rect& r, std::int32_t by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

win::UniqueRgn RegionOf(const geometry::Rect& r) { return win::UniqueRgn(::CreateRectRgn(r.left, r.top, r.right, r.bottom)); }

// What a bright rectangle covers on the screen: itself and its ring.
win::UniqueRgn Outer(const std::optional<geometry::Rect>& bright) {
  return bright ? RegionOf(Inflated(*bright, 1)) : win::UniqueRgn(::CreateRectRgn(0, 0, 0, 0));
}

win::UniqueRgn Ring(const std::optional<geometry::Rect>& bright) {
  win::UniqueRgn ring = Outer(bright);
  if (bright) ::CombineRgn(ring.get(), ring.get(), RegionOf(*bright).get(), RGN_DIFF);
  return ring;
}

// A press that moved no farther than this is a click.
std::int32_t ClickSlop() { return std::max(1, ::GetSystemMetrics(SM_CXDRAG) / 2); }

}  // namespace

bool AreaSelector::Cover::Open() {
  if (!Create({.className = L"Kirasoe.Selection", .exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST, .classStyle = 0,
               .at = area_}))
    return false;
  Place(area_);
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  return true;
}

LRESULT AreaSelector::Cover::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (!selector_.Selecting()) return Default(msg, wp, lp);
  // The selection's end destroys this object while its message is handled:
  // nothing of it is used after that.
  HWND self = hwnd();
  try {
    return selector_.Handle(*this, msg, wp, lp);
  } catch (...) {
    // Out of memory for a paint or a text: the selection goes on.
    win::LogCurrentException(L"selection");
    return ::DefWindowProcW(self, msg, wp, lp);
  }
}

bool AreaSelector::Start(const win::StillScreen& still) {
  still_ = &still;
  // The windows as the screen held shows them, not as they move on.
  standing_ = win::StandingWindows();
  marking_ = selection::Marking(win::CursorPos());
  hovered_ = WindowRectAt(marking_.Pointer(), false);
  Follow();
  if (!OpenCovers()) {
    Stop();
    return false;
  }
  // The keyboard goes to the window under the pointer.
  HWND first = WindowAt(marking_.Pointer());
  if (!first) first = covers_.front()->hwnd();
  ::SetForegroundWindow(first);
  ::SetFocus(first);
  for (const auto& cover : covers_) ::UpdateWindow(cover->hwnd());
  return true;
}

bool AreaSelector::OpenCovers() {
  std::int32_t widest = 0;
  for (const placement::Monitor& monitor : win::Monitors()) {
    covers_.push_back(std::make_unique<Cover>(*this, monitor.area));
    if (!covers_.back()->Open()) return false;
    widest = std::max(widest, monitor.area.Width());
  }
  return !covers_.empty() && MakeStrip(widest);
}

bool AreaSelector::MakeStrip(std::int32_t width) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -kStripRows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  strip_.reset(::CreateCompatibleDC(nullptr));
  stripBitmap_.reset(::CreateDIBSection(strip_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!strip_ || !stripBitmap_) return false;
  stripOld_ = ::SelectObject(strip_.get(), stripBitmap_.get());
  stripBits_ = static_cast<std::uint32_t*>(bits);
  return true;
}

void AreaSelector::Stop() {
  // Destroyed, not hidden: a window destroyed leaves the screen at once.
  covers_.clear();
  if (strip_ && stripOld_) ::SelectObject(strip_.get(), stripOld_);
  stripOld_ = nullptr;
  stripBits_ = nullptr;
  stripBitmap_.reset();
  strip_.reset();
  font_.reset();
  standing_.clear();
  still_ = nullptr;
}

std::optional<geometry::Rect> AreaSelector::WindowRectAt(geometry::Point at, bool control) const {
  for (const win::StandingWindow& w : standing_) {
    if (!w.rect.Contains(at)) continue;
    // A control is found in its window as it is now, as fitting the frame does.
    if (control && ::IsWindow(w.hwnd)) return frame_tools::FitPicked(win::VisibleBounds(win::ControlAt(w.hwnd, at)));
    return frame_tools::FitPicked(w.visible);
  }
  return std::nullopt;
}

HWND AreaSelector::WindowAt(geometry::Point at) const {
  for (const auto& cover : covers_)
    if (cover->Area().Contains(at)) return cover->hwnd();
  return nullptr;
}

void AreaSelector::Follow() {
  // The magnifier is sized for the monitor the pointer is on.
  const win::MonitorInfo monitor = win::MonitorAt(marking_.Pointer());
  box_ = selection::MagnifierBox{selection::Zoom(monitor.dpi)};
  shown_ = ShownNow(monitor.area);
}

void AreaSelector::Refresh() {
  const Shown before = shown_;
  Follow();
  Invalidate(before, shown_);
}

AreaSelector::Shown AreaSelector::ShownNow(const geometry::Rect& monitor) const {
  Shown shown;
  // A press that has not moved yet still takes the window under it.
  const bool click = marking_.Pressed() && marking_.IsClick(ClickSlop());
  shown.bright = marking_.Pressed() && !(click && hovered_) ? marking_.Dragged() : hovered_;
  shown.magnifier = selection::MagnifierPlace(marking_.Pointer(), marking_.Anchor(), box_.Width(), box_.Height(),
                                              box_.Gap(), monitor);
  return shown;
}

void AreaSelector::PointerTo(geometry::Point at) {
  if (!Selecting()) return;
  marking_.MoveTo(at);
  if (!marking_.Pressed()) hovered_ = WindowRectAt(at, ::GetKeyState(VK_CONTROL) < 0);
  Refresh();
  for (const auto& cover : covers_) ::UpdateWindow(cover->hwnd());
}

void AreaSelector::Press() {
  marking_.Press();
  Refresh();
}

void AreaSelector::Release(bool shift) {
  if (!marking_.Pressed()) return;
  // What shows for the pointer where it was released is what is taken.
  Follow();
  Finish(shown_.bright, shift);
}

void AreaSelector::Finish(const std::optional<geometry::Rect>& marked, bool shift) {
  if (!Selecting()) return;
  ::ReleaseCapture();
  Stop();
  owner_.SelectionEnded(marked, shift);
}

void AreaSelector::Key(WPARAM key) {
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0, dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
  if (dx || dy) {
    const geometry::Point to = selection::KeyStep(marking_.Pointer(), dx, dy, shift);
    // The real pointer goes along, so that the mouse goes on from there.
    ::SetCursorPos(to.x, to.y);
    PointerTo(to);
  } else if (key == VK_SPACE || key == VK_RETURN) {
    if (marking_.Pressed()) Release(shift);
    else Press();
  } else if (key == VK_ESCAPE) {
    Finish(std::nullopt, false);
  }
}

void AreaSelector::Invalidate(const Shown& before, const Shown& after) {
  win::UniqueRgn changed(::CreateRectRgn(0, 0, 0, 0));
  if (before.bright != after.bright) {
    // Brighter or dimmer: what one holds and the other not; and both rings.
    ::CombineRgn(changed.get(), Outer(before.bright).get(), Outer(after.bright).get(), RGN_XOR);
    ::CombineRgn(changed.get(), changed.get(), Ring(before.bright).get(), RGN_OR);
    ::CombineRgn(changed.get(), changed.get(), Ring(after.bright).get(), RGN_OR);
  }
  ::CombineRgn(changed.get(), changed.get(), RegionOf(before.magnifier).get(), RGN_OR);
  ::CombineRgn(changed.get(), changed.get(), RegionOf(after.magnifier).get(), RGN_OR);
  // Each window takes its part, in its own coordinates.
  for (const auto& cover : covers_) {
    ::OffsetRgn(changed.get(), -cover->Area().left, -cover->Area().top);
    ::InvalidateRgn(cover->hwnd(), changed.get(), FALSE);
    ::OffsetRgn(changed.get(), cover->Area().left, cover->Area().top);
  }
}

void AreaSelector::Paint(const Cover& cover) {
  HWND hwnd = cover.hwnd();
  win::UniqueRgn update(::CreateRectRgn(0, 0, 0, 0));
  const bool any = ::GetUpdateRgn(hwnd, update.get(), FALSE) > NULLREGION;
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  if (any && still_ && dc) {
    // The region's own rectangles: its bounds would repaint all between a
    // magnifier and a corner far apart.
    std::vector<char> data(::GetRegionData(update.get(), 0, nullptr));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    if (!data.empty() && ::GetRegionData(update.get(), static_cast<DWORD>(data.size()), region)) {
      const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
      for (DWORD i = 0; i < region->rdh.nCount; ++i) PaintRect(dc, rects[i], cover.Area());
    }
  }
  ::EndPaint(hwnd, &ps);
}

void AreaSelector::PaintRect(HDC dc, const RECT& r, const geometry::Rect& area) {
  BITMAP strip{};
  ::GetObjectW(stripBitmap_.get(), sizeof strip, &strip);
  const auto stride = static_cast<std::size_t>(strip.bmWidth);
  for (LONG top = r.top; top < r.bottom; top += kStripRows) {
    const LONG rows = std::min<LONG>(kStripRows, r.bottom - top);
    // What GDI drew into the band before must be in it before it is written.
    ::GdiFlush();
    for (LONG y = 0; y < rows; ++y)
      ComposeRow(stripBits_ + static_cast<std::size_t>(y) * stride + r.left, top + y + area.top, r.left + area.left,
                 r.right + area.left);
    ::SetViewportOrgEx(strip_.get(), -area.left, -(area.top + top), nullptr);
    DrawMagnifierText(strip_.get());
    ::SetViewportOrgEx(strip_.get(), 0, 0, nullptr);
    ::BitBlt(dc, r.left, top, r.right - r.left, rows, strip_.get(), r.left, 0, SRCCOPY);
  }
}

void AreaSelector::ComposeRow(std::uint32_t* out, std::int32_t y, std::int32_t from, std::int32_t to) const {
  const geometry::Rect area = still_->Area();
  const std::optional<geometry::Rect>& bright = shown_.bright;
  const bool inBright = bright && y >= bright->top && y < bright->bottom;
  selection::ShowRow(still_->Row(y) + (from - area.left), out, from, to, inBright ? bright->left : from,
                     inBright ? bright->right : from);
  const auto put = [&](std::int32_t x0, std::int32_t x1, std::uint32_t colour) {
    for (std::int32_t x = std::max(x0, from); x < std::min(x1, to); ++x) out[x - from] = colour;
  };
  if (bright && (y == bright->top - 1 || y == bright->bottom)) put(bright->left - 1, bright->right + 1, kRing);
  if (inBright) {
    put(bright->left - 1, bright->left, kRing);
    put(bright->right, bright->right + 1, kRing);
  }
  const geometry::Rect& m = shown_.magnifier;
  if (y < m.top || y >= m.bottom) return;
  for (std::int32_t x = std::max(from, m.left); x < std::min(to, m.right); ++x)
    out[x - from] = MagnifierPixel(x - m.left, y - m.top);
}

std::uint32_t AreaSelector::MagnifierPixel(std::int32_t dx, std::int32_t dy) const {
  const std::int32_t side = box_.Side(), zoom = box_.zoom;
  if (dy >= side) return kTextBand;
  if (dx == 0 || dy == 0 || dx == side - 1 || dy == side - 1) return kMagnifierBorder;
  const std::int32_t ix = dx - 1, iy = dy - 1;
  constexpr std::int32_t centre = selection::kMagnifiedPixels / 2;
  if (ix / zoom == centre && iy / zoom == centre) {
    const std::int32_t cx = ix % zoom, cy = iy % zoom;
    if (cx == 0 || cy == 0 || cx == zoom - 1 || cy == zoom - 1) return kCentreOutline;
  }
  return still_->At(selection::MagnifiedSource(marking_.Pointer(), zoom, ix, iy));
}

void AreaSelector::DrawMagnifierText(HDC strip) {
  const geometry::Rect& m = shown_.magnifier;
  if (!font_ || fontZoom_ != box_.zoom) {
    font_.reset(::CreateFontW(-(box_.zoom * 3 / 2), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                              L"MS Shell Dlg"));
    fontZoom_ = box_.zoom;
  }
  const geometry::Point p = marking_.Pointer();
  std::wstring lines[2] = {std::to_wstring(p.x) + L", " + std::to_wstring(p.y), L""};
  if (marking_.Pressed() && shown_.bright)
    lines[1] = std::to_wstring(shown_.bright->Width()) + L" \u00D7 " + std::to_wstring(shown_.bright->Height());
  win::SelectedObject font(strip, font_.get());
  ::SetBkMode(strip, TRANSPARENT);
  ::SetTextColor(strip, RGB(255, 255, 255));
  for (int i = 0; i < 2; ++i) {
    const int top = m.top + box_.Side() + i * box_.Line();
    const RECT band{m.left + 4, top, m.right - 4, top + box_.Line()};
    ::ExtTextOutW(strip, band.left, top + 1, ETO_CLIPPED, &band, lines[i].c_str(), static_cast<UINT>(lines[i].size()),
                  nullptr);
  }
}

LRESULT AreaSelector::Handle(const Cover& cover, UINT msg, WPARAM wp, LPARAM lp) {
  // Client coordinates of the window, which has the pointer captured while
  // dragging: the point may lie on another monitor.
  const geometry::Point at{GET_X_LPARAM(lp) + cover.Area().left, GET_Y_LPARAM(lp) + cover.Area().top};
  switch (msg) {
    case WM_PAINT: Paint(cover); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS)); return TRUE;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_MOUSEMOVE: PointerTo(at); return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(cover.hwnd());
      marking_.MoveTo(at);
      Press();
      return 0;
    case WM_LBUTTONUP:
      marking_.MoveTo(at);
      Release((wp & MK_SHIFT) != 0);
      return 0;
    case WM_RBUTTONDOWN: Finish(std::nullopt, false); return 0;
    case WM_KEYDOWN: Key(wp); return 0;
    case WM_DPICHANGED: return 0;  // physical pixels: each window keeps its monitor's rectangle
    default: return ::DefWindowProcW(cover.hwnd(), msg, wp, lp);
  }
}

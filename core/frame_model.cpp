#include "core/frame_model.h"

#include <algorithm>

#include "core/numbers.h"

namespace frame {

Layout ComputeLayout(std::int32_t W, std::int32_t H) {
  Layout l;
  l.W = W;
  l.H = H;
  l.M = W / 2;
  l.N = H / 2;
  const std::int32_t M = l.M, N = l.N;
  l.ring = {{{0, 0}, {W, 0}, {W, H}, {0, H}, {0, 1}, {1, 1}, {1, H - 1}, {W - 1, H - 1}, {W - 1, 1}, {0, 1}}};
  const int s = kHandlePixels;
  l.squares[kTopLeft] = {0, 0, s, s};
  l.squares[kTopRight] = {W - s, 0, W, s};
  l.squares[kBottomLeft] = {0, H - s, s, H};
  l.squares[kBottomRight] = {W - s, H - s, W, H};
  l.squares[kTopMiddle] = {M - 2, 0, M + 3, s};
  l.squares[kRightMiddle] = {W - s, N - 2, W, N + 3};
  l.squares[kBottomMiddle] = {M - 2, H - s, M + 3, H};
  l.squares[kLeftMiddle] = {0, N - 2, s, N + 3};
  return l;
}

bool Covers(const Layout& l, int x, int y) {
  if (x < 0 || y < 0 || x >= l.W || y >= l.H) return false;
  if (x == 0 || y == 0 || x == l.W - 1 || y == l.H - 1) return true;
  return std::any_of(l.squares.begin(), l.squares.end(), [&](const Rect& r) { return r.Contains({x, y}); });
}

std::array<Rect, 8> HandleOutlines(std::int32_t w, std::int32_t h, twips::Scale scale) {
  const std::int32_t p5x = twips::FromPixels(5, scale.x), p5y = twips::FromPixels(5, scale.y);
  const std::int32_t p2x = twips::FromPixels(2, scale.x), p2y = twips::FromPixels(2, scale.y);
  const std::int32_t halfW = num::IntDiv(w, 2), halfH = num::IntDiv(h, 2);
  Point at[8];
  at[kTopLeft] = {0, 0};
  at[kTopRight] = {w - p5x, 0};
  at[kBottomLeft] = {0, h - p5y};
  at[kBottomRight] = {w - p5x, h - p5y};
  at[kTopMiddle] = {halfW - p2x, 0};
  at[kRightMiddle] = {w - p5x, halfH - p2y};
  at[kBottomMiddle] = {halfW - p2x, h - p5y};
  at[kLeftMiddle] = {0, halfH - p2y};
  const std::int32_t sx = twips::ToPixels(kOutlineTwips, scale.x), sy = twips::ToPixels(kOutlineTwips, scale.y);
  std::array<Rect, 8> outlines;
  for (int i = 0; i < 8; ++i)
    outlines[i] = geometry::RectAt(twips::ToPixels(at[i].x, scale.x), twips::ToPixels(at[i].y, scale.y), sx, sy);
  return outlines;
}

Hit HitTest(Point at, std::int32_t width, std::int32_t height) {
  const int s = kHandlePixels;
  Hit hit;
  if (at.x <= s) {
    if (at.y <= s) hit = {Corner::TopLeft, Cursor::NorthWestSouthEast};
    if (at.y >= height - s) hit = {Corner::BottomLeft, Cursor::NorthEastSouthWest};
  }
  if (at.x >= width - s) {
    if (at.y <= s) hit = {Corner::TopRight, Cursor::NorthEastSouthWest};
    if (at.y >= height - s) hit = {Corner::BottomRight, Cursor::NorthWestSouthEast};
  }
  return hit;
}

namespace {

// The near edge (left or top) follows the mouse `d` pixels from it; the far edge stays.
void NearEdge(std::int32_t& near, std::int32_t far, std::int32_t d) {
  near = d < far - near - kMinFramePixels ? near + d : far - kMinFramePixels;
}

// The far edge (right or bottom) follows the mouse `d` pixels from the near edge.
void FarEdge(std::int32_t near, std::int32_t& far, std::int32_t d) { far = near + std::max(d, kMinFramePixels); }

}  // namespace

Rect Resize(const Rect& frame, Corner corner, Point at) {
  Rect r = frame;
  const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
  const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
  if (corner == Corner::None) return r;
  if (left) NearEdge(r.left, r.right, at.x);
  else FarEdge(r.left, r.right, at.x);
  if (top) NearEdge(r.top, r.bottom, at.y);
  else FarEdge(r.top, r.bottom, at.y);
  return r;
}

Rect KeyStep(const Rect& frame, int dx, int dy, bool resize, int pixels) {
  if (resize) {
    const std::int32_t w = std::max(frame.Width() + dx * pixels, kMinFramePixels);
    const std::int32_t h = std::max(frame.Height() + dy * pixels, kMinFramePixels);
    return geometry::RectAt(frame.left, frame.top, dx ? w : frame.Width(), dy ? h : frame.Height());
  }
  return geometry::RectAt(frame.left + dx * pixels, frame.top + dy * pixels, frame.Width(), frame.Height());
}

std::wstring SizeText(std::int32_t width, std::int32_t height) {
  return std::to_wstring(width) + L" \u00d7 " + std::to_wstring(height);
}

}  // namespace frame

#include "frame/FrameGeometry.h"

#include <algorithm>

#include "toolkit/Numbers.h"
#include "toolkit/Twips.h"

namespace frame {

Layout ComputeLayout(std::int32_t snapW, std::int32_t snapH, double tppX, double tppY) {
  Layout l;
  l.W = twips::ToPixels(snapW, tppX);
  l.H = twips::ToPixels(snapH, tppY);
  const std::int32_t halfW = num::IntDiv(snapW, 2);
  const std::int32_t halfH = num::IntDiv(snapH, 2);
  // Half of the twips, converted, is half of the pixels at a whole ratio; at
  // a fractional one it can fall a pixel short of the middle. Halving the
  // pixels gives the same at whole ratios and the middle at every ratio.
  l.M = l.W / 2;
  l.N = l.H / 2;
  const std::int32_t W = l.W, H = l.H, M = l.M, N = l.N;
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

  const std::int32_t p5x = twips::FromPixels(5, tppX), p5y = twips::FromPixels(5, tppY);
  const std::int32_t p2x = twips::FromPixels(2, tppX), p2y = twips::FromPixels(2, tppY);
  l.handles[kTopLeft] = {0, 0};
  l.handles[kTopRight] = {snapW - p5x, 0};
  l.handles[kBottomLeft] = {0, snapH - p5y};
  l.handles[kBottomRight] = {snapW - p5x, snapH - p5y};
  l.handles[kTopMiddle] = {halfW - p2x, 0};
  l.handles[kRightMiddle] = {snapW - p5x, halfH - p2y};
  l.handles[kBottomMiddle] = {halfW - p2x, snapH - p5y};
  l.handles[kLeftMiddle] = {0, halfH - p2y};
  return l;
}

bool Covers(const Layout& l, int x, int y) {
  if (x < 0 || y < 0 || x >= l.W || y >= l.H) return false;
  if (x == 0 || y == 0 || x == l.W - 1 || y == l.H - 1) return true;
  for (const auto& r : l.squares)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

Hit HitTest(double x, double y, std::int32_t snapW, std::int32_t snapH, std::int32_t p5x, std::int32_t p5y) {
  Hit hit;
  if (x <= p5x) {
    if (y <= p5y) hit = {1, Cursor::NorthWestSouthEast};
    if (y >= snapH - p5y) hit = {2, Cursor::NorthEastSouthWest};
  }
  if (x >= snapW - p5x) {
    if (y <= p5y) hit = {3, Cursor::NorthEastSouthWest};
    if (y >= snapH - p5y) hit = {4, Cursor::NorthWestSouthEast};
  }
  return hit;
}

namespace {

std::int32_t Round(double v) { return num::ToInt32Saturated(v); }

// The near edge (left or top) follows the mouse; the far edge stays.
void NearEdge(std::int32_t& pos, std::int32_t& size, double d, std::int32_t min, double tpp) {
  if (!twips::ExactRatio(tpp).Whole()) {
    // Sums of twips that each name a whole pixel need not name the sum of the
    // pixels at a fractional ratio: move the edge in pixels, where the window
    // is placed, and keep the far edge on the pixel it had.
    const std::int32_t posPx = twips::ToPixels(pos, tpp);
    const std::int32_t farPx = posPx + twips::ToPixels(size, tpp);
    const std::int32_t minPx = twips::ToPixels(min, tpp);
    std::int32_t newPx = posPx + twips::ToPixels(d, tpp);
    if (!(d < static_cast<double>(size) - min) || farPx - newPx < minPx) newPx = farPx - minPx;
    pos = twips::FromPixels(newPx, tpp);
    size = farPx - newPx == minPx ? min : twips::FromPixels(farPx - newPx, tpp);
    return;
  }
  if (d < static_cast<double>(size) - min) {
    size = Round(static_cast<double>(size) - d);
    pos = Round(d + static_cast<double>(pos));
  } else {
    pos = pos + size - min;
    size = min;
  }
}

// The far edge (right or bottom) follows the mouse; the near edge stays.
void FarEdge(std::int32_t& size, double d, std::int32_t min) { size = d > min ? Round(d) : min; }

}  // namespace

void Resize(Snap& snap, int corner, double x, double y, std::int32_t minX, std::int32_t minY, double tppX,
            double tppY) {
  switch (corner) {
    case 1: NearEdge(snap.x, snap.w, x, minX, tppX); NearEdge(snap.y, snap.h, y, minY, tppY); break;
    case 2: NearEdge(snap.x, snap.w, x, minX, tppX); FarEdge(snap.h, y, minY); break;
    case 3: FarEdge(snap.w, x, minX); NearEdge(snap.y, snap.h, y, minY, tppY); break;
    case 4: FarEdge(snap.w, x, minX); FarEdge(snap.h, y, minY); break;
    default: break;
  }
}

Snap KeyStep(Snap s, int dx, int dy, bool resize, int pixels, double tppX, double tppY) {
  using twips::FromPixels;
  using twips::ToPixels;
  if (resize) {
    if (dx) s.w = FromPixels(std::max(ToPixels(s.w, tppX) + dx * pixels, kMinFramePixels), tppX);
    if (dy) s.h = FromPixels(std::max(ToPixels(s.h, tppY) + dy * pixels, kMinFramePixels), tppY);
  } else {
    if (dx) s.x = FromPixels(ToPixels(s.x, tppX) + dx * pixels, tppX);
    if (dy) s.y = FromPixels(ToPixels(s.y, tppY) + dy * pixels, tppY);
  }
  return s;
}

std::wstring SizeText(const Snap& s, double tppX, double tppY) {
  return std::to_wstring(twips::ToPixels(s.w, tppX)) + L" \u00d7 " + std::to_wstring(twips::ToPixels(s.h, tppY));
}

}  // namespace frame

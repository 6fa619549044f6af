#include "win/region.h"

#include "core/outline.h"

namespace win {

UniqueRgn RegionFromRects(const std::vector<geometry::Rect>& rects) {
  if (rects.empty()) return {};
  const std::vector<std::uint8_t> data = outline::RegionData(rects);
  const XFORM identity{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
  return UniqueRgn(::ExtCreateRegion(&identity, static_cast<DWORD>(data.size()),
                                     reinterpret_cast<const RGNDATA*>(data.data())));
}

UniqueRgn PolygonWithSquares(const geometry::Point* points, int count, const geometry::Rect* squares,
                             const int* order, int squareCount) {
  std::vector<POINT> polygon(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) polygon[i] = {points[i].x, points[i].y};
  UniqueRgn shape(::CreatePolygonRgn(polygon.data(), count, ALTERNATE));
  for (int i = 0; i < squareCount && shape; ++i) {
    const geometry::Rect& sq = squares[order[i]];
    const POINT corners[4] = {{sq.left, sq.top}, {sq.right, sq.top}, {sq.right, sq.bottom}, {sq.left, sq.bottom}};
    UniqueRgn square(::CreatePolygonRgn(corners, 4, ALTERNATE));
    ::CombineRgn(shape.get(), shape.get(), square.get(), RGN_OR);
  }
  return shape;
}

void AddRects(UniqueRgn& shape, const std::vector<geometry::Rect>& rects) {
  if (!shape || rects.empty()) return;
  const UniqueRgn added = RegionFromRects(rects);
  if (added) ::CombineRgn(shape.get(), shape.get(), added.get(), RGN_OR);
}

bool GiveRegion(HWND hwnd, UniqueRgn& region) {
  if (!region || !::SetWindowRgn(hwnd, region.get(), TRUE)) return false;
  region.release();  // the window owns it now
  return true;
}

}  // namespace win

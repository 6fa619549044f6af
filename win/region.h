// Window regions from rectangles in pixels.
#pragma once

#include <windows.h>

#include <vector>

#include "core/geometry.h"
#include "win/handles.h"

namespace win {

// The region made of `rects`; empty (no handle) when there are none or the
// system refused.
UniqueRgn RegionFromRects(const std::vector<geometry::Rect>& rects);

// A polygon region (even-odd filling), with `squares` added to it.
UniqueRgn PolygonWithSquares(const geometry::Point* points, int count, const geometry::Rect* squares,
                             const int* order, int squareCount);

// Adds `rects` to `shape` (nothing when there are none).
void AddRects(UniqueRgn& shape, const std::vector<geometry::Rect>& rects);

// Gives `region` to the window; false when the window refused it (the region
// is then still the caller's).
bool GiveRegion(HWND hwnd, UniqueRgn& region);

}  // namespace win

// Pixel rectangles and the canonical decomposition of a set of pixels into a
// region: bands top to bottom, maximal runs left to right, identical adjacent
// rows merged. Pure C++.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/geometry.h"

namespace region {

using geometry::Rect;

// `inside(x, y)` tells which pixels of a width x height picture belong to the set.
std::vector<Rect> CanonicalRects(int width, int height, const std::function<bool(int, int)>& inside);

Rect Bounds(const std::vector<Rect>& rects);
std::int64_t Area(const std::vector<Rect>& rects);

}  // namespace region

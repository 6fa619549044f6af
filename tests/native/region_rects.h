// The canonical decomposition of a set of pixels into rectangles, as the
// system stores a region: bands top to bottom, maximal runs left to right,
// identical adjacent rows merged. The tests check the outline table against
// the camera picture with it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/geometry.h"

namespace region {

using geometry::Rect;

// `inside(x, y)` tells which pixels of a width x height picture belong to the set.
inline std::vector<Rect> CanonicalRects(int width, int height, const std::function<bool(int, int)>& inside) {
  auto runsOf = [&](int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < width;) {
      if (!inside(x, y)) {
        ++x;
        continue;
      }
      int start = x;
      while (x < width && inside(x, y)) ++x;
      runs.emplace_back(start, x);
    }
    return runs;
  };
  std::vector<Rect> rects;
  for (int y = 0; y < height;) {
    auto runs = runsOf(y);
    int end = y + 1;
    while (!runs.empty() && end < height && runsOf(end) == runs) ++end;
    for (auto [a, b] : runs) rects.push_back({a, y, b, end});
    y = end;
  }
  return rects;
}

inline std::int64_t Area(const std::vector<Rect>& rects) {
  std::int64_t a = 0;
  for (const Rect& r : rects) a += static_cast<std::int64_t>(r.right - r.left) * (r.bottom - r.top);
  return a;
}

}  // namespace region

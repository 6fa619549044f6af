#include "core/region.h"

#include <algorithm>

namespace region {

std::vector<Rect> CanonicalRects(int width, int height, const std::function<bool(int, int)>& inside) {
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

Rect Bounds(const std::vector<Rect>& rects) {
  if (rects.empty()) return {};
  Rect box = rects.front();
  for (const Rect& r : rects) {
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

std::int64_t Area(const std::vector<Rect>& rects) {
  std::int64_t a = 0;
  for (const Rect& r : rects) a += static_cast<std::int64_t>(r.right - r.left) * (r.bottom - r.top);
  return a;
}

}  // namespace region

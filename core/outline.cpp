#include "core/outline.h"

#include <algorithm>

namespace outline {
namespace {

void Put(std::vector<std::uint8_t>& data, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

geometry::Rect Bounds(const std::vector<geometry::Rect>& rects) {
  if (rects.empty()) return {};
  geometry::Rect box = rects.front();
  for (const geometry::Rect& r : rects) {
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

}  // namespace

const std::vector<geometry::Rect>& CameraRects() {
  static const std::vector<geometry::Rect> rects{
      {11, 1, 17, 2}, {10, 2, 18, 3}, {9, 3, 19, 5}, {8, 5, 20, 6}, {3, 6, 25, 7},
      {2, 7, 26, 8},  {1, 8, 27, 21}, {2, 21, 26, 22}, {3, 22, 25, 23},
  };
  return rects;
}

std::vector<std::uint8_t> RegionData(const std::vector<geometry::Rect>& rects) {
  const geometry::Rect box = Bounds(rects);
  std::vector<std::uint8_t> data;
  data.reserve(kHeaderBytes + rects.size() * 16);
  Put(data, kHeaderBytes);
  Put(data, 1);  // RDH_RECTANGLES
  Put(data, static_cast<std::int32_t>(rects.size()));
  Put(data, static_cast<std::int32_t>(rects.size() * 16));
  for (std::int32_t v : {box.left, box.top, box.right, box.bottom}) Put(data, v);
  for (const geometry::Rect& r : rects)
    for (std::int32_t v : {r.left, r.top, r.right, r.bottom}) Put(data, v);
  return data;
}

}  // namespace outline

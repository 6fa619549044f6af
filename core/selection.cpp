#include "core/selection.h"

#include <algorithm>

namespace selection {
namespace {

// One side of the marked rectangle: [first, last) from the pixel pressed to
// the pixel released, both included, at least kMinSide long.
void Side(std::int32_t pressed, std::int32_t released, std::int32_t& first, std::int32_t& last) {
  first = std::min(pressed, released);
  last = std::max(pressed, released) + 1;
  if (last - first >= kMinSide) return;
  if (released >= pressed) {
    first = pressed;
    last = pressed + kMinSide;
  } else {
    last = pressed + 1;
    first = last - kMinSide;
  }
}

// One coordinate of the magnifier: after the pointer when `after`, before
// it otherwise; the other side when the monitor leaves no room there.
std::int32_t Beside(std::int32_t pointer, bool after, std::int32_t size, std::int32_t gap, std::int32_t low,
                    std::int32_t high) {
  const std::int32_t afterAt = pointer + gap, beforeAt = pointer - gap - size;
  std::int32_t at = after ? afterAt : beforeAt;
  if (after && afterAt + size > high) at = beforeAt;
  if (!after && beforeAt < low) at = afterAt;
  return std::clamp(at, low, std::max(low, high - size));
}

}  // namespace

geometry::Rect Marked(geometry::Point pressed, geometry::Point released) {
  geometry::Rect r;
  Side(pressed.x, released.x, r.left, r.right);
  Side(pressed.y, released.y, r.top, r.bottom);
  return r;
}

geometry::Point KeyStep(geometry::Point at, std::int32_t dx, std::int32_t dy, bool shift) {
  const std::int32_t step = shift ? 10 : 1;
  return {at.x + dx * step, at.y + dy * step};
}

std::int32_t Zoom(std::int32_t dpi) { return std::max<std::int32_t>(8, (8 * dpi + 48) / 96); }

geometry::Rect MagnifierPlace(geometry::Point pointer, geometry::Point anchor, std::int32_t width,
                              std::int32_t height, std::int32_t gap, const geometry::Rect& monitor) {
  const std::int32_t x = Beside(pointer.x, pointer.x >= anchor.x, width, gap, monitor.left, monitor.right);
  const std::int32_t y = Beside(pointer.y, pointer.y >= anchor.y, height, gap, monitor.top, monitor.bottom);
  return geometry::RectAt(x, y, width, height);
}

}  // namespace selection

#include "core/selection.h"

#include <algorithm>
#include <cstdlib>

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

std::optional<geometry::Rect> Marking::Dragged() const {
  if (!pressed_) return std::nullopt;
  return Marked(*pressed_, pointer_);
}

bool Marking::IsClick(std::int32_t slop) const {
  if (!pressed_) return false;
  return std::abs(pointer_.x - pressed_->x) <= slop && std::abs(pointer_.y - pressed_->y) <= slop;
}

void ShowRow(const std::uint32_t* row, std::uint32_t* out, std::int32_t from, std::int32_t to,
             std::int32_t brightFrom, std::int32_t brightTo) {
  const std::int32_t b0 = std::clamp(brightFrom, from, to), b1 = std::clamp(brightTo, b0, to);
  for (std::int32_t x = from; x < b0; ++x) out[x - from] = Dimmed(row[x - from]);
  std::copy(row + (b0 - from), row + (b1 - from), out + (b0 - from));
  for (std::int32_t x = b1; x < to; ++x) out[x - from] = Dimmed(row[x - from]);
}

geometry::Point MagnifiedSource(geometry::Point pointer, std::int32_t zoom, std::int32_t dx, std::int32_t dy) {
  constexpr std::int32_t half = kMagnifiedPixels / 2;
  return {pointer.x - half + dx / zoom, pointer.y - half + dy / zoom};
}

}  // namespace selection

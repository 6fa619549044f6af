#include "core/placement.h"

#include <algorithm>
#include <limits>

namespace placement {

namespace {

std::int64_t Overlap(const Rect& a, const Rect& b) {
  const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between two rectangles; 0 when they touch or overlap.
std::int64_t Distance2(const Rect& a, const Rect& b) {
  const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
  const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
  return dx * dx + dy * dy;
}

bool OnAnyWorkArea(const Rect& r, const std::vector<Monitor>& monitors) {
  return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return Intersects(r, m.work); });
}

bool OnAnyMonitor(const Rect& r, const std::vector<Monitor>& monitors) {
  return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return Intersects(r, m.area); });
}

}  // namespace

int NearestMonitor(const Rect& r, const std::vector<Monitor>& monitors) {
  int best = -1;
  std::int64_t bestOverlap = 0, bestDistance = std::numeric_limits<std::int64_t>::max();
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    const std::int64_t o = Overlap(r, monitors[i].area), d = Distance2(r, monitors[i].area);
    if (o > bestOverlap || (bestOverlap == 0 && o == 0 && d < bestDistance)) {
      best = i;
      bestOverlap = o;
      bestDistance = d;
    }
  }
  return best;
}

std::optional<Rect> BringOnScreen(const Rect& window, const std::vector<Monitor>& monitors) {
  if (monitors.empty() || OnAnyWorkArea(window, monitors)) return std::nullopt;
  return FitInside(window, monitors[NearestMonitor(window, monitors)].work);
}

std::optional<Rect> BringFrameBack(const Rect& frame, const Rect& camera, const std::vector<Monitor>& monitors) {
  if (monitors.empty() || OnAnyMonitor(frame, monitors)) return std::nullopt;
  const Rect beside{camera.left + kFrameRightOfCamera, camera.top, camera.left + kFrameRightOfCamera + frame.Width(), camera.top + frame.Height()};
  return FitInside(beside, monitors[NearestMonitor(camera, monitors)].work);
}

Rect PlaceBeside(const Rect& anchor, const Rect& avoid, std::int32_t w, std::int32_t h, const Rect& work,
                 std::int32_t gap) {
  const Rect candidates[] = {
      {anchor.left, anchor.bottom + gap, anchor.left + w, anchor.bottom + gap + h},
      {anchor.left, anchor.top - gap - h, anchor.left + w, anchor.top - gap},
      {anchor.right + gap, anchor.top, anchor.right + gap + w, anchor.top + h},
      {anchor.left - gap - w, anchor.top, anchor.left - gap, anchor.top + h},
  };
  auto inside = [&](const Rect& r) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
  };
  for (const Rect& r : candidates)
    if (inside(r) && !Intersects(r, avoid)) return r;
  return FitInside(candidates[0], work);
}

Rect FitInside(const Rect& window, const Rect& work) {
  const std::int32_t width = std::min(window.Width(), work.Width()), height = std::min(window.Height(), work.Height());
  const std::int32_t left = std::clamp(window.left, work.left, work.right - width);
  const std::int32_t top = std::clamp(window.top, work.top, work.bottom - height);
  return geometry::RectAt(left, top, width, height);
}

}  // namespace placement

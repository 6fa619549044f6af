// Where stored windows come back when the monitors have changed since they
// were stored (a monitor unplugged, another layout). Pure C++, in pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/geometry.h"

namespace placement {

// The frame stands this many pixels right of the camera's left edge, level
// with its top, at a first start and when it comes back to be seen.
inline constexpr std::int32_t kFrameRightOfCamera = 32;

}  // namespace placement

namespace placement {

using geometry::Rect;

struct Monitor {
  Rect area;  // the whole monitor
  Rect work;  // without the task bar
};

using geometry::Intersects;

// The monitor nearest to `r` (the one it overlaps most, or the closest);
// -1 when there is none.
int NearestMonitor(const Rect& r, const std::vector<Monitor>& monitors);

// A window that lies outside every monitor's work area, moved fully onto the
// nearest one; nullopt when it is at least partly on one and stays put.
std::optional<Rect> BringOnScreen(const Rect& window, const std::vector<Monitor>& monitors);

// The capture frame outside every monitor: beside the camera as on a first
// start (32 pixels right of the camera's left edge, level with its top),
// keeping its size, shrunk and moved to fit that monitor's work area.
// nullopt when the frame is at least partly on a monitor.
std::optional<Rect> BringFrameBack(const Rect& frame, const Rect& camera, const std::vector<Monitor>& monitors);

// Where a small window of `width` x `height` goes beside `anchor`: below it,
// above it, right of it or left of it, the first that lies inside `work` and
// does not cover `avoid`; failing all, below it moved into `work`.
Rect PlaceBeside(const Rect& anchor, const Rect& avoid, std::int32_t width, std::int32_t height, const Rect& work,
                 std::int32_t gap = 4);

// `window` moved into `work`, first shrunk to it where it is larger.
Rect FitInside(const Rect& window, const Rect& work);

}  // namespace placement

// Marking an area in one drag across the screen: the rectangle a press and
// a release mark, the pointer's key steps, and where the magnifier beside
// the pointer goes. Screen pixels throughout. Pure C++.
#pragma once

#include <cstdint>

#include "core/geometry.h"

namespace selection {

// The frame's smallest size.
inline constexpr std::int32_t kMinSide = 10;

// The rectangle from the pixel pressed to the pixel released, both
// included. A side shorter than the frame's smallest grows to it from the
// pixel pressed, in the direction of the drag.
geometry::Rect Marked(geometry::Point pressed, geometry::Point released);

// The pointer moved by an arrow key: one pixel, ten with Shift.
geometry::Point KeyStep(geometry::Point at, std::int32_t dx, std::int32_t dy, bool shift);

// The magnifier shows the 15 x 15 pixels around the pointer, each as a
// square of Zoom(dpi) pixels: 8 at 96 dpi, as large on every scale.
inline constexpr std::int32_t kMagnifiedPixels = 15;
std::int32_t Zoom(std::int32_t dpi);

// Where a magnifier of `width` x `height` goes: `gap` pixels off the
// pointer, on the side away from `anchor` (the pixel pressed, or the
// pointer itself before the press, when it goes below and right), so that
// it never covers the corner being dragged; on the other side where
// `monitor` leaves no room, and inside the monitor in any case.
geometry::Rect MagnifierPlace(geometry::Point pointer, geometry::Point anchor, std::int32_t width,
                              std::int32_t height, std::int32_t gap, const geometry::Rect& monitor);

}  // namespace selection

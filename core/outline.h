// The camera's outline, and region data in the layout the system's
// ExtCreateRegion takes: a 32-byte header and 16 bytes a rectangle, all
// fields 32-bit little-endian. Pure C++.
#pragma once

#include <cstdint>
#include <vector>

#include "core/geometry.h"

namespace outline {

inline constexpr int kHeaderBytes = 32;
// The camera window's size, whatever the screen's ratio.
inline constexpr std::int32_t kCameraWidthTwips = 420;
inline constexpr std::int32_t kCameraHeightTwips = 375;

// The camera's visible pixels as rectangles, in the region's order.
const std::vector<geometry::Rect>& CameraRects();

// The region data of `rects`: header (size, type, count, bytes, bounds) and
// the rectangles.
std::vector<std::uint8_t> RegionData(const std::vector<geometry::Rect>& rects);

}  // namespace outline

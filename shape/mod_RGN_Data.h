// The built-in window outlines, as ready-made region data in the layout the
// system's ExtCreateRegion takes: a 32-byte header and up to 117 rectangles of
// 16 bytes per slot, all fields 32-bit little-endian. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "shape/RegionMath.h"

namespace mod_RGN_Data {

inline constexpr int kSlots = 3;
inline constexpr int kMaxRects = 117;
inline constexpr int kHeaderBytes = 32;
inline constexpr int kSlotBytes = kHeaderBytes + kMaxRects * 16;  // 1904

using Slot = std::array<std::uint8_t, kSlotBytes>;

// Zero until LoadShapeTables runs.
alignas(8) extern std::array<Slot, kSlots> ShapeRegions;
// Set by the shaping code once it has loaded the tables.
extern bool ShapesLoaded;

// Writes slot 0 (the camera) and slot 1 (the lens figure); slot 2 stays empty.
void LoadShapeTables();

// The outlines as rectangles, in stored order.
const std::vector<region::Rect>& CameraRects();
const std::vector<region::Rect>& FigureRects();

// Reads a slot back: header fields and rectangles.
struct Header {
  std::uint32_t dwSize, iType, nCount, nRgnSize;
  region::Rect bound;
};
Header ReadHeader(const Slot& slot);
std::vector<region::Rect> ReadRects(const Slot& slot);

}  // namespace mod_RGN_Data

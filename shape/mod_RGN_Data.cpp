#include "shape/mod_RGN_Data.h"

namespace mod_RGN_Data {

alignas(8) std::array<Slot, kSlots> ShapeRegions{};
bool ShapesLoaded = false;

namespace {

void Put(Slot& slot, std::size_t at, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) slot[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t Get(const Slot& slot, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(slot[at + i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

void Write(Slot& slot, const std::vector<region::Rect>& rects) {
  region::Rect box = region::Bounds(rects);
  Put(slot, 0, kHeaderBytes);
  Put(slot, 4, 1);  // RDH_RECTANGLES
  Put(slot, 8, static_cast<std::int32_t>(rects.size()));
  Put(slot, 12, static_cast<std::int32_t>(rects.size() * 16));
  Put(slot, 16, box.left);
  Put(slot, 20, box.top);
  Put(slot, 24, box.right);
  Put(slot, 28, box.bottom);
  std::size_t at = kHeaderBytes;
  for (const region::Rect& r : rects) {
    Put(slot, at, r.left);
    Put(slot, at + 4, r.top);
    Put(slot, at + 8, r.right);
    Put(slot, at + 12, r.bottom);
    at += 16;
  }
}

}  // namespace

const std::vector<region::Rect>& CameraRects() {
  static const std::vector<region::Rect> rects{
      {11, 1, 17, 2}, {10, 2, 18, 3}, {9, 3, 19, 5}, {8, 5, 20, 6}, {3, 6, 25, 7},
      {2, 7, 26, 8},  {1, 8, 27, 21}, {2, 21, 26, 22}, {3, 22, 25, 23},
  };
  return rects;
}

// The canonical decomposition of the black pixels of figure.bmp (made by
// resources/make_pictures.py; a unit test keeps the two in step).
const std::vector<region::Rect>& FigureRects() {
  static const std::vector<region::Rect> rects{
      {11, 1, 22, 2}, {9, 2, 24, 3}, {7, 3, 12, 4}, {21, 3, 26, 4},
      {6, 4, 11, 5}, {22, 4, 27, 5}, {5, 5, 8, 6}, {10, 5, 12, 6},
      {21, 5, 23, 6}, {25, 5, 28, 6}, {4, 6, 7, 7}, {11, 6, 12, 7},
      {21, 6, 22, 7}, {26, 6, 29, 7}, {4, 7, 6, 8}, {11, 7, 22, 8},
      {27, 7, 29, 8}, {3, 8, 6, 9}, {12, 8, 22, 9}, {27, 8, 30, 9},
      {3, 9, 5, 10}, {10, 9, 13, 10}, {14, 9, 23, 10}, {28, 9, 30, 10},
      {2, 10, 5, 11}, {10, 10, 12, 11}, {13, 10, 24, 11}, {28, 10, 31, 11},
      {2, 11, 4, 12}, {9, 11, 11, 12}, {12, 11, 21, 12}, {22, 11, 24, 12},
      {29, 11, 31, 12}, {2, 12, 4, 13}, {8, 12, 10, 13}, {11, 12, 15, 13},
      {16, 12, 17, 13}, {18, 12, 22, 13}, {23, 12, 25, 13}, {29, 12, 31, 13},
      {1, 13, 4, 14}, {7, 13, 10, 14}, {11, 13, 14, 14}, {15, 13, 18, 14},
      {19, 13, 22, 14}, {23, 13, 26, 14}, {29, 13, 32, 14}, {1, 14, 4, 15},
      {6, 14, 10, 15}, {11, 14, 13, 15}, {14, 14, 19, 15}, {20, 14, 22, 15},
      {23, 14, 27, 15}, {29, 14, 32, 15}, {1, 15, 10, 16}, {11, 15, 13, 16},
      {14, 15, 19, 16}, {20, 15, 22, 16}, {23, 15, 32, 16}, {1, 16, 4, 17},
      {5, 16, 10, 17}, {11, 16, 13, 17}, {14, 16, 19, 17}, {20, 16, 22, 17},
      {23, 16, 28, 17}, {29, 16, 32, 17}, {1, 17, 4, 18}, {6, 17, 10, 18},
      {11, 17, 14, 18}, {15, 17, 18, 18}, {19, 17, 22, 18}, {23, 17, 27, 18},
      {29, 17, 32, 18}, {2, 18, 4, 19}, {7, 18, 10, 19}, {11, 18, 15, 19},
      {16, 18, 17, 19}, {18, 18, 22, 19}, {23, 18, 26, 19}, {29, 18, 31, 19},
      {2, 19, 4, 20}, {8, 19, 11, 20}, {12, 19, 17, 20}, {18, 19, 21, 20},
      {22, 19, 25, 20}, {29, 19, 31, 20}, {2, 20, 5, 21}, {9, 20, 12, 21},
      {13, 20, 20, 21}, {21, 20, 24, 21}, {28, 20, 31, 21}, {3, 21, 5, 22},
      {10, 21, 13, 22}, {14, 21, 24, 22}, {28, 21, 30, 22}, {3, 22, 6, 23},
      {11, 22, 23, 23}, {27, 22, 30, 23}, {4, 23, 6, 24}, {11, 23, 22, 24},
      {27, 23, 29, 24}, {4, 24, 7, 25}, {11, 24, 12, 25}, {13, 24, 22, 25},
      {26, 24, 29, 25}, {5, 25, 8, 26}, {10, 25, 12, 26}, {21, 25, 23, 26},
      {25, 25, 28, 26}, {6, 26, 11, 27}, {22, 26, 27, 27}, {7, 27, 12, 28},
      {21, 27, 26, 28}, {9, 28, 24, 29}, {11, 29, 22, 30}, {14, 30, 19, 31},
  };
  return rects;
}

void LoadShapeTables() {
  Write(ShapeRegions[0], CameraRects());
  Write(ShapeRegions[1], FigureRects());
}

Header ReadHeader(const Slot& slot) {
  return {static_cast<std::uint32_t>(Get(slot, 0)), static_cast<std::uint32_t>(Get(slot, 4)),
          static_cast<std::uint32_t>(Get(slot, 8)), static_cast<std::uint32_t>(Get(slot, 12)),
          {Get(slot, 16), Get(slot, 20), Get(slot, 24), Get(slot, 28)}};
}

std::vector<region::Rect> ReadRects(const Slot& slot) {
  Header h = ReadHeader(slot);
  std::vector<region::Rect> rects;
  for (std::uint32_t i = 0; i < h.nCount && i < static_cast<std::uint32_t>(kMaxRects); ++i) {
    std::size_t at = kHeaderBytes + i * 16;
    rects.push_back({Get(slot, at), Get(slot, at + 4), Get(slot, at + 8), Get(slot, at + 12)});
  }
  return rects;
}

}  // namespace mod_RGN_Data

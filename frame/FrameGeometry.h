// The capture frame's arithmetic: its visible shape, the handle positions, the
// corner hit test and the resize rules. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "shape/RegionMath.h"

namespace frame {

struct Point {
  std::int32_t x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Capture rectangle in twips.
struct Snap {
  std::int32_t x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Snap&, const Snap&) = default;
};

inline constexpr int kHandlePixels = 5;
inline constexpr int kMinFramePixels = 10;

// Handle indices of Shape1, and the order in which their squares are united.
enum Handle { kTopLeft = 0, kTopRight, kBottomLeft, kBottomRight, kTopMiddle, kRightMiddle, kBottomMiddle, kLeftMiddle };
inline constexpr std::array<int, 8> kUnionOrder{kTopLeft,   kTopRight,    kBottomRight,  kBottomLeft,
                                                kTopMiddle, kRightMiddle, kBottomMiddle, kLeftMiddle};

struct Layout {
  std::int32_t W = 0, H = 0, M = 0, N = 0;   // pixels
  std::array<Point, 10> ring;               // even-odd polygon: outer, then inner rectangle
  std::array<region::Rect, 8> squares;      // by handle index, pixels
  std::array<Point, 8> handles;             // Shape1 Left/Top by handle index, twips
};

Layout ComputeLayout(std::int32_t snapW, std::int32_t snapH, double twipsPerPixelX, double twipsPerPixelY);

// Whether pixel (x, y) of the window is visible: on the ring or a square.
bool Covers(const Layout& layout, int x, int y);

enum class Cursor { Move, NorthWestSouthEast, NorthEastSouthWest };

struct Hit {
  int corner = 0;  // 0 none, 1 top-left, 2 bottom-left, 3 top-right, 4 bottom-right
  Cursor cursor = Cursor::Move;
};

// x, y: twips relative to the window. Later zones win where zones overlap.
Hit HitTest(double x, double y, std::int32_t snapW, std::int32_t snapH, std::int32_t p5x, std::int32_t p5y);

// Moves the edges of `corner` to the mouse (x, y: twips relative to the
// window's top-left corner), never below minX x minY. The ratios say where
// the window's edges are in pixels: at a fractional ratio a left or top edge
// is moved on the pixel grid, so that the edges that stay keep their pixels.
void Resize(Snap& snap, int corner, double x, double y, std::int32_t minX, std::int32_t minY,
            double twipsPerPixelX = 15, double twipsPerPixelY = 15);

// The keyboard's steps: an arrow moves the frame by `pixels` (dx, dy of -1, 0
// or 1 times the step); with `resize` it moves the right or bottom edge
// instead, never below the minimum size. What the step does not touch keeps
// its twips.
Snap KeyStep(Snap snap, int dx, int dy, bool resize, int pixels, double twipsPerPixelX, double twipsPerPixelY);

// "W × H" in pixels, for the size label.
std::wstring SizeText(const Snap& snap, double twipsPerPixelX, double twipsPerPixelY);

}  // namespace frame

// The capture frame's rules, in pixels: its visible shape (a one-pixel ring
// and eight 5 x 5 squares), the handle outlines, the corner hit test, the
// resize by mouse and the steps by key, never below 10 x 10. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/geometry.h"
#include "core/twips.h"

namespace frame {

using geometry::Point;
using geometry::Rect;

inline constexpr int kHandlePixels = 5;
inline constexpr int kMinFramePixels = 10;
inline constexpr std::int32_t kOutlineTwips = 75;  // the handle outlines' size

// Handle indices, and the order in which their squares are united.
enum Handle { kTopLeft = 0, kTopRight, kBottomLeft, kBottomRight, kTopMiddle, kRightMiddle, kBottomMiddle, kLeftMiddle };
inline constexpr std::array<int, 8> kUnionOrder{kTopLeft,   kTopRight,    kBottomRight,  kBottomLeft,
                                                kTopMiddle, kRightMiddle, kBottomMiddle, kLeftMiddle};

struct Layout {
  std::int32_t W = 0, H = 0, M = 0, N = 0;  // size, and the middle (W / 2, H / 2)
  std::array<Point, 10> ring;              // even-odd polygon: outer, then inner rectangle
  std::array<Rect, 8> squares;             // by handle index
};

// The shape of a frame `width` x `height` pixels, relative to its top-left.
Layout ComputeLayout(std::int32_t width, std::int32_t height);

// Whether pixel (x, y) of the window is visible: on the ring or a square.
bool Covers(const Layout& layout, int x, int y);

// Where the eight handle outlines are drawn, relative to the frame: their
// places and size are kept in twips of the stored size, and shown through
// the one twips-to-pixel conversion.
std::array<Rect, 8> HandleOutlines(std::int32_t storedWidth, std::int32_t storedHeight, twips::Scale scale);

enum class Corner { None, TopLeft, BottomLeft, TopRight, BottomRight };
enum class Cursor { Move, NorthWestSouthEast, NorthEastSouthWest };

struct Hit {
  Corner corner = Corner::None;
  Cursor cursor = Cursor::Move;
  friend bool operator==(const Hit&, const Hit&) = default;
};

// `at`: a point relative to the frame's top-left. A corner's zone reaches 5
// pixels in, inclusive; where zones overlap, the right and the bottom win.
Hit HitTest(Point at, std::int32_t width, std::int32_t height);

// The frame with the edges of `corner` moved to the mouse (`at`, relative to
// the frame's top-left as it stands); the other edges stay. Never below the
// minimum size: an edge pushed past that stops 10 pixels from the far edge.
Rect Resize(const Rect& frame, Corner corner, Point at);

// The keyboard's steps: an arrow moves the frame by `pixels` (dx, dy of -1,
// 0 or 1); with `resize` it moves the right or bottom edge instead, never
// below the minimum size.
Rect KeyStep(const Rect& frame, int dx, int dy, bool resize, int pixels);

// "W × H", for the size label.
std::wstring SizeText(std::int32_t width, std::int32_t height);

}  // namespace frame

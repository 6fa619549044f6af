// Marking an area in one drag across the screen: the rectangle a press and
// a release mark, the pointer's key steps, and where the magnifier beside
// the pointer goes. Screen pixels throughout. Pure C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

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

// The magnifier's box: the magnified pixels inside a one-pixel border, and
// below them a band of two text lines (the pointer's position, and W x H
// while dragging), all sized by the zoom.
struct MagnifierBox {
  std::int32_t zoom;
  std::int32_t Side() const { return kMagnifiedPixels * zoom + 2; }
  std::int32_t Line() const { return 2 * zoom; }
  std::int32_t Width() const { return Side(); }
  std::int32_t Height() const { return Side() + 2 * Line(); }
  // The gap between the pointer and the box.
  std::int32_t Gap() const { return 2 * zoom; }
};

// One selection from its start to its end: where the pointer is, where it
// was pressed, and what a release there marks.
class Marking {
 public:
  explicit Marking(geometry::Point pointer) : pointer_(pointer) {}
  void MoveTo(geometry::Point pointer) { pointer_ = pointer; }
  void Press() { pressed_ = pointer_; }
  bool Pressed() const { return pressed_.has_value(); }
  geometry::Point Pointer() const { return pointer_; }
  // The pixel pressed, or the pointer before the press.
  geometry::Point Anchor() const { return pressed_.value_or(pointer_); }
  // The rectangle a release now would mark; nullopt before the press.
  std::optional<geometry::Rect> Dragged() const;
  // A release no farther than `slop` pixels from the press (in both
  // directions) is a click, which takes the window under the pointer.
  bool IsClick(std::int32_t slop) const;

 private:
  geometry::Point pointer_;
  std::optional<geometry::Point> pressed_;
};

// Half as bright: what lies outside the selection.
inline std::uint32_t Dimmed(std::uint32_t pixel) { return (pixel >> 1) & 0x7F7F7Fu; }

// Pixels [from, to) of one screen row as shown: as they are within
// [brightFrom, brightTo), dimmed elsewhere. `row` and `out` both start at
// pixel `from`.
void ShowRow(const std::uint32_t* row, std::uint32_t* out, std::int32_t from, std::int32_t to,
             std::int32_t brightFrom, std::int32_t brightTo);

// The screen pixel the magnifier shows at (`dx`, `dy`) inside its border:
// the pixels around `pointer`, each a square of `zoom` pixels.
geometry::Point MagnifiedSource(geometry::Point pointer, std::int32_t zoom, std::int32_t dx, std::int32_t dy);

}  // namespace selection

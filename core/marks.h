// The marks drawn on a capture in the editor being built: what each is, how
// they are edited (added, moved, resized, deleted, each step undone and
// redone without limit), which one a point hits, and how the shapes are
// drawn into the picture's pixels, so that what the editor shows and what
// is written are the same pixels. Picture pixels throughout. Pure C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace marks {

enum class Tool { Rectangle, Arrow, Line, Pen, Highlighter, Hide, Text, Number, Crop };

struct Mark {
  Tool tool = Tool::Rectangle;
  std::uint32_t colour = 0xFF0000;  // 0xRRGGBB
  std::int32_t width = 2;           // of a line, 1 to 8 pixels
  // Rectangle and Hide: two opposite corners; Arrow and Line: from and to;
  // Pen and Highlighter: every point of the stroke; Text: the box its
  // letters fill (their height is the box's); Number: the centre of its
  // disc; Crop: two opposite corners of what is kept.
  std::vector<geometry::Point> points;
  std::wstring text;  // of a Text mark
  friend bool operator==(const Mark&, const Mark&) = default;
};

// The pixels a mark covers at most: its points, widened by its line.
geometry::Rect Bounds(const Mark& mark);

// The box of a mark's points alone, both ends included.
geometry::Rect Box(const Mark& mark);
// The mark moved by (dx, dy), and stretched so that its Box becomes `to`.
Mark Moved(Mark mark, std::int32_t dx, std::int32_t dy);
Mark Resized(Mark mark, const geometry::Rect& to);

// Rectangles that hold every pixel that may differ when `before` becomes
// `after` (the same mark being drawn or changed): for a stroke that only
// grew, its new part; for a rectangle, the sides of both; for a line, both
// lines in short pieces; otherwise the bounds of both. Redrawing only these
// keeps a mouse move on a large picture quick.
std::vector<geometry::Rect> Changed(const Mark& before, const Mark& after);

// The height of a new Text mark's letters, from the width chosen.
inline std::int32_t TextHeight(std::int32_t width) { return 12 + 4 * width; }

// The radius of a Number mark's disc, from its width.
std::int32_t NumberRadius(std::int32_t width);

// The part of a `width` x `height` picture the last Crop mark keeps (the
// whole picture when there is none, or when it keeps nothing of it).
geometry::Rect CropOf(const std::vector<Mark>& marks, std::int32_t width, std::int32_t height);

// The marks of one picture, with every state before and after for undo and
// redo.
class Document {
 public:
  const std::vector<Mark>& Marks() const { return marks_; }
  void Add(const Mark& mark);
  void Move(std::size_t index, std::int32_t dx, std::int32_t dy);
  // The mark stretched so that its bounds without the line become `to`.
  void Resize(std::size_t index, const geometry::Rect& to);
  void Remove(std::size_t index);
  bool Undo();
  bool Redo();
  // The topmost mark whose bounds, widened by `slop`, hold `at`.
  std::optional<std::size_t> HitTest(geometry::Point at, std::int32_t slop) const;

 private:
  void Keep();
  std::vector<Mark> marks_;
  std::vector<std::vector<Mark>> undo_, redo_;
};

// Letters are drawn by the caller (a font is the system's): `mark` is a
// Text mark, or a Number mark whose disc is drawn and whose `number` (1, 2,
// 3... in the order of the Number marks) goes on it, clipped to `region`.
using Lettering = std::function<void(const Mark& mark, int number, const geometry::Rect& region)>;

// Draws `marks` in order into `pixels` (`width` x `height` of 0x00RRGGBB,
// rows `stride` pixels apart, top first): lines as squares of their width
// centred on each point of the path, a highlighter as its colour at half
// strength over what is beneath, Hide as a solid box of its colour, a
// Number as a disc. Crop marks draw nothing.
void Draw(const std::vector<Mark>& marks, std::uint32_t* pixels, std::int32_t width, std::int32_t height,
          std::size_t stride);
// The same for `region` of the picture only: `pixels` holds its top left
// pixel, and `lettering` is called for every Text and Number mark in turn.
void Draw(const std::vector<Mark>& marks, std::uint32_t* pixels, const geometry::Rect& region, std::size_t stride,
          const Lettering& lettering);

// The zoom steps of the editor, in percent, and the next one up or down.
inline constexpr std::int32_t kZooms[] = {25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800};
std::int32_t NextZoom(std::int32_t percent, bool in);

}  // namespace marks

// The marks drawn on a capture in the editor being built: what each is, how
// they are edited (added, moved, resized, deleted, each step undone and
// redone without limit), which one a point hits, and how the shapes are
// drawn into the picture's pixels, so that what the editor shows and what
// is written are the same pixels. Picture pixels throughout. Pure C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/geometry.h"

namespace marks {

enum class Tool { Rectangle, Arrow, Line, Pen, Highlighter, Hide };

struct Mark {
  Tool tool = Tool::Rectangle;
  std::uint32_t colour = 0xFF0000;  // 0xRRGGBB
  std::int32_t width = 2;           // of a line, 1 to 8 pixels
  // Rectangle and Hide: two opposite corners; Arrow and Line: from and to;
  // Pen and Highlighter: every point of the stroke.
  std::vector<geometry::Point> points;
  friend bool operator==(const Mark&, const Mark&) = default;
};

// The pixels a mark covers at most: its points, widened by its line.
geometry::Rect Bounds(const Mark& mark);

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

// Draws `marks` in order into `pixels` (`width` x `height` of 0x00RRGGBB,
// rows `stride` pixels apart, top first): lines as squares of their width
// centred on each point of the path, a highlighter as its colour at half
// strength over what is beneath, Hide as a solid box of its colour.
void Draw(const std::vector<Mark>& marks, std::uint32_t* pixels, std::int32_t width, std::int32_t height,
          std::size_t stride);

}  // namespace marks

#include "core/marks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace marks {
namespace {

bool IsStroke(Tool tool) {
  return tool == Tool::Arrow || tool == Tool::Line || tool == Tool::Pen || tool == Tool::Highlighter;
}

// The box of the points alone, both ends included.
geometry::Rect PointBox(const std::vector<geometry::Point>& points) {
  if (points.empty()) return {};
  geometry::Rect r{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
  for (const geometry::Point& p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x + 1);
    r.bottom = std::max(r.bottom, p.y + 1);
  }
  return r;
}

// Which pixels of `box` a mark covers, row by row.
class Coverage {
 public:
  explicit Coverage(const geometry::Rect& box)
      : box_(box), cells_(static_cast<std::size_t>(std::max(0, box.Width())) * std::max(0, box.Height())) {}
  void Square(geometry::Point centre, std::int32_t side) {
    const std::int32_t x0 = centre.x - side / 2, y0 = centre.y - side / 2;
    for (std::int32_t y = std::max(y0, box_.top); y < std::min(y0 + side, box_.bottom); ++y)
      for (std::int32_t x = std::max(x0, box_.left); x < std::min(x0 + side, box_.right); ++x) cells_[Index(x, y)] = 1;
  }
  // Every pixel of the line from `a` to `b`, both ends included.
  void Line(geometry::Point a, geometry::Point b, std::int32_t side) {
    const std::int32_t dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const std::int32_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    std::int32_t error = dx + dy;
    for (;;) {
      Square(a, side);
      if (a == b) return;
      const std::int32_t twice = 2 * error;
      if (twice >= dy) error += dy, a.x += sx;
      if (twice <= dx) error += dx, a.y += sy;
    }
  }
  void Fill(const geometry::Rect& r, std::int32_t inset) {
    for (std::int32_t y = std::max(r.top, box_.top); y < std::min(r.bottom, box_.bottom); ++y)
      for (std::int32_t x = std::max(r.left, box_.left); x < std::min(r.right, box_.right); ++x) {
        const bool edge = x - r.left < inset || r.right - 1 - x < inset || y - r.top < inset || r.bottom - 1 - y < inset;
        if (inset == 0 || edge) cells_[Index(x, y)] = 1;
      }
  }
  void Disc(geometry::Point centre, std::int32_t radius) {
    for (std::int32_t y = std::max(centre.y - radius, box_.top); y < std::min(centre.y + radius + 1, box_.bottom); ++y)
      for (std::int32_t x = std::max(centre.x - radius, box_.left); x < std::min(centre.x + radius + 1, box_.right); ++x) {
        const std::int32_t dx = x - centre.x, dy = y - centre.y;
        if (dx * dx + dy * dy <= radius * radius) cells_[Index(x, y)] = 1;
      }
  }
  bool Covered(std::int32_t x, std::int32_t y) const { return cells_[Index(x, y)] != 0; }

 private:
  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y - box_.top) * static_cast<std::size_t>(box_.Width()) +
           static_cast<std::size_t>(x - box_.left);
  }
  geometry::Rect box_;
  std::vector<char> cells_;
};

// The two strokes of an arrow's head, back from the tip at 30 degrees.
void ArrowHead(Coverage& covered, geometry::Point from, geometry::Point tip, std::int32_t side) {
  const double dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
  if (length < 1) return;
  const double head = 4.0 * side + 6, ux = dx / length, uy = dy / length;
  for (double turn : {0.5235987755982988, -0.5235987755982988}) {
    const double c = std::cos(turn), s = std::sin(turn);
    const geometry::Point end{static_cast<std::int32_t>(std::lround(tip.x - head * (ux * c - uy * s))),
                              static_cast<std::int32_t>(std::lround(tip.y - head * (uy * c + ux * s)))};
    covered.Line(tip, end, side);
  }
}

void Cover(Coverage& covered, const Mark& mark) {
  const std::int32_t side = std::clamp(mark.width, 1, 8);
  if (mark.tool == Tool::Rectangle || mark.tool == Tool::Hide) {
    covered.Fill(PointBox(mark.points), mark.tool == Tool::Hide ? 0 : side);
    return;
  }
  if (mark.tool == Tool::Number) {
    if (!mark.points.empty()) covered.Disc(mark.points[0], NumberRadius(mark.width));
    return;
  }
  if (!IsStroke(mark.tool)) return;
  for (std::size_t i = 0; i < mark.points.size(); ++i)
    covered.Line(mark.points[i], mark.points[i + 1 < mark.points.size() ? i + 1 : i], side);
  if (mark.tool == Tool::Arrow && mark.points.size() >= 2)
    ArrowHead(covered, mark.points[mark.points.size() - 2], mark.points.back(), side);
}

std::uint32_t HalfOver(std::uint32_t colour, std::uint32_t beneath) {
  std::uint32_t out = beneath & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t a = (colour >> shift) & 0xFF, b = (beneath >> shift) & 0xFF;
    out |= ((a + b + 1) / 2) << shift;
  }
  return out;
}

}  // namespace

std::int32_t NumberRadius(std::int32_t width) { return 8 + 2 * std::clamp(width, 1, 8); }

geometry::Rect CropOf(const std::vector<Mark>& marks, std::int32_t width, std::int32_t height) {
  const geometry::Rect whole{0, 0, width, height};
  for (std::size_t i = marks.size(); i-- > 0;) {
    if (marks[i].tool != Tool::Crop) continue;
    const geometry::Rect r = PointBox(marks[i].points);
    const geometry::Rect kept{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
    return kept.left < kept.right && kept.top < kept.bottom ? kept : whole;
  }
  return whole;
}

std::int32_t NextZoom(std::int32_t percent, bool in) {
  if (in) {
    for (std::int32_t z : kZooms)
      if (z > percent) return z;
    return kZooms[std::size(kZooms) - 1];
  }
  for (std::size_t i = std::size(kZooms); i-- > 0;)
    if (kZooms[i] < percent) return kZooms[i];
  return kZooms[0];
}

geometry::Rect Bounds(const Mark& mark) {
  if (mark.tool == Tool::Number) {
    if (mark.points.empty()) return {};
    const std::int32_t r = NumberRadius(mark.width);
    const geometry::Point c = mark.points[0];
    return {c.x - r, c.y - r, c.x + r + 1, c.y + r + 1};
  }
  geometry::Rect r = PointBox(mark.points);
  if (!IsStroke(mark.tool)) return r;
  const std::int32_t side = std::clamp(mark.width, 1, 8);
  // An arrow's head reaches back from the tip by at most its length.
  const std::int32_t head = mark.tool == Tool::Arrow ? 4 * side + 7 : 0;
  return {r.left - side / 2 - head, r.top - side / 2 - head, r.right + (side - 1) / 2 + head,
          r.bottom + (side - 1) / 2 + head};
}

void Document::Keep() {
  undo_.push_back(marks_);
  redo_.clear();
}

void Document::Add(const Mark& mark) {
  Keep();
  marks_.push_back(mark);
}

geometry::Rect Box(const Mark& mark) { return PointBox(mark.points); }

Mark Moved(Mark mark, std::int32_t dx, std::int32_t dy) {
  for (geometry::Point& p : mark.points) p = {p.x + dx, p.y + dy};
  return mark;
}

Mark Resized(Mark mark, const geometry::Rect& to) {
  if (to.Width() < 1 || to.Height() < 1) return mark;
  const geometry::Rect from = PointBox(mark.points);
  const auto scale = [](std::int32_t v, std::int32_t from0, std::int32_t fromSize, std::int32_t to0,
                        std::int32_t toSize) {
    if (fromSize <= 1) return to0;
    return to0 + static_cast<std::int32_t>(std::lround(static_cast<double>(v - from0) * (toSize - 1) / (fromSize - 1)));
  };
  for (geometry::Point& p : mark.points)
    p = {scale(p.x, from.left, from.Width(), to.left, to.Width()), scale(p.y, from.top, from.Height(), to.top, to.Height())};
  return mark;
}

namespace {

geometry::Rect Widened(geometry::Rect r, std::int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// A line as boxes of at most 64 pixels along it, each widened by `by`.
void Pieces(geometry::Point a, geometry::Point b, std::int32_t by, std::vector<geometry::Rect>& out) {
  const std::int32_t steps = std::max<std::int32_t>(1, std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) / 64 + 1);
  geometry::Point from = a;
  for (std::int32_t i = 1; i <= steps; ++i) {
    const geometry::Point to{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps};
    out.push_back(Widened(PointBox({from, to}), by));
    from = to;
  }
}

void Outline(const Mark& mark, std::vector<geometry::Rect>& out) {
  const std::int32_t side = std::clamp(mark.width, 1, 8);
  if (mark.tool == Tool::Rectangle && !mark.points.empty()) {
    const geometry::Rect r = PointBox(mark.points);
    out.push_back({r.left, r.top, r.right, std::min(r.bottom, r.top + side)});
    out.push_back({r.left, std::max(r.top, r.bottom - side), r.right, r.bottom});
    out.push_back({r.left, r.top, std::min(r.right, r.left + side), r.bottom});
    out.push_back({std::max(r.left, r.right - side), r.top, r.right, r.bottom});
    return;
  }
  if (mark.tool == Tool::Line && mark.points.size() == 2) return Pieces(mark.points[0], mark.points[1], side, out);
  out.push_back(Bounds(mark));
}

}  // namespace

std::vector<geometry::Rect> Changed(const Mark& before, const Mark& after) {
  std::vector<geometry::Rect> out;
  const bool stroke = after.tool == Tool::Pen || after.tool == Tool::Highlighter;
  const bool grew = stroke && before.tool == after.tool && !before.points.empty() &&
                    before.points.size() <= after.points.size() &&
                    std::equal(before.points.begin(), before.points.end(), after.points.begin());
  if (grew) {
    const std::int32_t side = std::clamp(after.width, 1, 8);
    for (std::size_t i = before.points.size() - 1; i + 1 < after.points.size(); ++i)
      out.push_back(Widened(PointBox({after.points[i], after.points[i + 1]}), side));
    return out;
  }
  Outline(before, out);
  Outline(after, out);
  return out;
}

void Document::Move(std::size_t index, std::int32_t dx, std::int32_t dy) {
  if (index >= marks_.size()) return;
  Keep();
  marks_[index] = Moved(marks_[index], dx, dy);
}

void Document::Resize(std::size_t index, const geometry::Rect& to) {
  if (index >= marks_.size() || to.Width() < 1 || to.Height() < 1) return;
  Keep();
  marks_[index] = Resized(marks_[index], to);
}

void Document::Remove(std::size_t index) {
  if (index >= marks_.size()) return;
  Keep();
  marks_.erase(marks_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool Document::Undo() {
  if (undo_.empty()) return false;
  redo_.push_back(marks_);
  marks_ = undo_.back();
  undo_.pop_back();
  return true;
}

bool Document::Redo() {
  if (redo_.empty()) return false;
  undo_.push_back(marks_);
  marks_ = redo_.back();
  redo_.pop_back();
  return true;
}

std::optional<std::size_t> Document::HitTest(geometry::Point at, std::int32_t slop) const {
  for (std::size_t i = marks_.size(); i-- > 0;) {
    const geometry::Rect b = Bounds(marks_[i]);
    if (geometry::Rect{b.left - slop, b.top - slop, b.right + slop, b.bottom + slop}.Contains(at)) return i;
  }
  return std::nullopt;
}

void Draw(const std::vector<Mark>& marks, std::uint32_t* pixels, std::int32_t width, std::int32_t height,
          std::size_t stride) {
  Draw(marks, pixels, {0, 0, width, height}, stride, {});
}

void Draw(const std::vector<Mark>& marks, std::uint32_t* pixels, const geometry::Rect& region, std::size_t stride,
          const Lettering& lettering) {
  int number = 0;
  for (const Mark& mark : marks) {
    if (mark.tool == Tool::Number) ++number;
    const geometry::Rect b = Bounds(mark);
    const geometry::Rect box{std::max(b.left, region.left), std::max(b.top, region.top),
                             std::min(b.right, region.right), std::min(b.bottom, region.bottom)};
    if (box.left >= box.right || box.top >= box.bottom) continue;
    Coverage covered(box);
    Cover(covered, mark);
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
      std::uint32_t* row = pixels + static_cast<std::size_t>(y - region.top) * stride - region.left;
      for (std::int32_t x = box.left; x < box.right; ++x) {
        if (!covered.Covered(x, y)) continue;
        row[x] = mark.tool == Tool::Highlighter ? HalfOver(mark.colour, row[x])
                                                : (row[x] & 0xFF000000u) | (mark.colour & 0xFFFFFFu);
      }
    }
    if (lettering && (mark.tool == Tool::Text || mark.tool == Tool::Number)) lettering(mark, number, region);
  }
}

}  // namespace marks

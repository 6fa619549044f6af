// The frame tools' rules: the position and size the user types, the size
// presets and the rectangle a picked window gives the frame. Pure C++, in
// screen pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/geometry.h"
#include "core/texts.h"

namespace frame_tools {

using geometry::Rect;

// The four fields of the position-and-size dialog, in their order.
enum Field { kX = 0, kY, kWidth, kHeight };
inline constexpr std::array<texts::Id, 4> kFieldNames{texts::Id::FieldX, texts::Id::FieldY, texts::Id::FieldWidth,
                                                     texts::Id::FieldHeight};

// Sizes beyond this are no frame a screen can show, and no window the
// system makes.
inline constexpr std::int32_t kMaxSide = 32767;

// A whole number in decimal, an optional sign and surrounding spaces
// allowed, within [lo, hi]; nullopt for anything else.
std::optional<std::int32_t> ParseWhole(std::wstring_view text, std::int32_t lo, std::int32_t hi);

// A rectangle as a settings file keeps it, "left,top,width,height,rest":
// whole numbers, the corner from `lowestCorner`, sides of at least
// `smallestSide`, all up to the largest frame; and the text after the fourth
// comma. Nullopt when the numbers do not read so.
struct StoredRect {
  geometry::Rect rect;
  std::wstring_view rest;
};
std::optional<StoredRect> ParseStoredRect(std::wstring_view value, std::int32_t lowestCorner, std::int32_t smallestSide);

// Why typed values were refused: the field to correct and the message that
// names it.
struct Refusal {
  Field field;
  std::wstring message;
};

// The frame the four typed texts give: whole numbers, width and height of
// at least the frame's minimum size, and some pixel on one of `monitors`.
std::variant<Rect, Refusal> CheckTyped(const std::array<std::wstring, 4>& typed, const std::vector<Rect>& monitors,
                                       texts::Language language);

// The sizes offered in the menu; a preset keeps the frame's top-left corner.
struct Size {
  std::int32_t width, height;
};
inline constexpr std::array<Size, 5> kPresets{{{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1920, 1080}}};
Rect WithSize(const Rect& frame, Size size);
// "640 × 480"
std::wstring PresetText(Size size);

// A picked window's rectangle as a frame: a side smaller than the frame's
// minimum grows to it around the same centre.
Rect FitPicked(const Rect& picked);

// Whole seconds left of a countdown, rounded up ("3", "2", "1").
std::int32_t SecondsLeft(std::int64_t millisecondsLeft);

}  // namespace frame_tools

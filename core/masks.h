// Parts of the frame's area hidden in every picture of it, and how the
// settings file keeps them: each a rectangle relative to the frame's top
// left corner, in pixels, with the colour that replaces every pixel under
// it, so that no pixel of what it hides is ever written or encoded. A
// section of their own ("Masks", keys "Mask1" ... "Mask20" holding
// "left,top,width,height,RRGGBB"), so that a version that does not know
// them ignores them. Pure C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry.h"

namespace masks {

inline constexpr const wchar_t* kSection = L"Masks";
inline constexpr std::size_t kMaxMasks = 20;

struct Mask {
  geometry::Rect rect;         // relative to the frame's top left corner
  std::uint32_t colour = 0;    // 0xRRGGBB
  friend bool operator==(const Mask&, const Mask&) = default;
};
using List = std::vector<Mask>;

// The masks as they fall on a frame of `width` x `height`: each clipped to
// it, those left empty left out. A frame that grows gets them back whole.
List Clipped(const List& masks, std::int32_t width, std::int32_t height);

// Every pixel of `pixels` under a mask becomes the mask's colour: `width`
// x `height` pixels of 0x00RRGGBB (any top byte is kept), rows `stride`
// pixels apart, top first, the frame's top left corner first.
void Apply(const List& masks, std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::size_t stride);

// How the frame shows a mask on screen: a band of diagonal stripes just
// inside its edge, as rectangles relative to the frame's top left corner.
// Every one lies inside the mask, so that the mask covers it in a picture.
std::vector<geometry::Rect> Hatching(const Mask& mask);

// A list of masks as one value ("l,t,w,h,RRGGBB;..."), for a kept frame's,
// and back (parts that do not read as a mask are left out).
std::wstring ListText(const List& masks);
List ParseList(const std::wstring& text);

// Reads one key of the section (empty when missing).
using Reader = std::function<std::wstring(const std::wstring& key)>;
// The masks in the file, in key order; keys that do not read as a mask are
// left out.
List Read(const Reader& read);
// Every key of the section: a mask's value, or nullopt (the key removed).
std::vector<std::pair<std::wstring, std::optional<std::wstring>>> Writes(const List& masks);

}  // namespace masks

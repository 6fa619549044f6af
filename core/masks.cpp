#include "core/masks.h"

#include <algorithm>

#include "core/frame_tools.h"
#include "core/text.h"

namespace masks {

List Clipped(const List& masks, std::int32_t width, std::int32_t height) {
  List clipped;
  for (const Mask& m : masks) {
    const geometry::Rect r{std::max(m.rect.left, 0), std::max(m.rect.top, 0), std::min(m.rect.right, width),
                           std::min(m.rect.bottom, height)};
    if (r.left < r.right && r.top < r.bottom) clipped.push_back({r, m.colour});
  }
  return clipped;
}

void Apply(const List& masks, std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::size_t stride) {
  for (const Mask& m : Clipped(masks, width, height)) {
    for (std::int32_t y = m.rect.top; y < m.rect.bottom; ++y) {
      std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
      for (std::int32_t x = m.rect.left; x < m.rect.right; ++x) row[x] = (row[x] & 0xFF000000u) | m.colour;
    }
  }
}

namespace {

std::wstring KeyOf(std::size_t index) { return L"Mask" + std::to_wstring(index + 1); }

// "left,top,width,height,RRGGBB" back to a mask: whole numbers, sides of at
// least one pixel, six hexadecimal digits.
std::optional<Mask> ParseValue(const std::wstring& value) {
  const auto stored = frame_tools::ParseStoredRect(value, 0, 1);
  if (!stored || stored->rest.size() != 6) return std::nullopt;
  auto rgb = text::ParseDigits(stored->rest, 16, 6);
  if (!rgb) return std::nullopt;
  return Mask{stored->rect, static_cast<std::uint32_t>(*rgb)};
}

std::wstring ValueOf(const Mask& m) {
  std::wstring colour;
  for (int shift = 20; shift >= 0; shift -= 4) colour += static_cast<wchar_t>(text::kHexDigits[(m.colour >> shift) & 15]);
  return std::to_wstring(m.rect.left) + L"," + std::to_wstring(m.rect.top) + L"," + std::to_wstring(m.rect.Width()) +
         L"," + std::to_wstring(m.rect.Height()) + L"," + colour;
}

}  // namespace

List Read(const Reader& read) {
  List masks;
  for (std::size_t i = 0; i < kMaxMasks; ++i)
    if (auto mask = ParseValue(read(KeyOf(i)))) masks.push_back(*mask);
  return masks;
}

std::vector<std::pair<std::wstring, std::optional<std::wstring>>> Writes(const List& masks) {
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> writes;
  for (std::size_t i = 0; i < kMaxMasks; ++i)
    writes.emplace_back(KeyOf(i), i < masks.size() ? std::optional<std::wstring>(ValueOf(masks[i])) : std::nullopt);
  return writes;
}

}  // namespace masks

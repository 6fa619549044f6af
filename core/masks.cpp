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

std::vector<geometry::Rect> Hatching(const Mask& mask) {
  constexpr std::int32_t kBand = 3, kPeriod = 8, kStripe = 4;
  const std::int32_t w = mask.rect.Width(), h = mask.rect.Height();
  std::vector<geometry::Rect> rects;
  // The stripes' runs within [from, to) of row y.
  const auto runs = [&](std::int32_t y, std::int32_t from, std::int32_t to) {
    for (std::int32_t x = from; x < to;) {
      const std::int32_t phase = (x + y) % kPeriod;
      if (phase >= kStripe) {
        x += kPeriod - phase;
        continue;
      }
      const std::int32_t end = std::min(to, x + kStripe - phase);
      rects.push_back({mask.rect.left + x, mask.rect.top + y, mask.rect.left + end, mask.rect.top + y + 1});
      x = end;
    }
  };
  for (std::int32_t y = 0; y < h; ++y) {
    if (y < kBand || y >= h - kBand || w <= 2 * kBand) {
      runs(y, 0, w);
    } else {
      runs(y, 0, kBand);
      runs(y, w - kBand, w);
    }
  }
  return rects;
}

std::wstring ListText(const List& masks) {
  std::wstring text;
  for (const Mask& m : masks) text += (text.empty() ? L"" : L";") + ValueOf(m);
  return text;
}

List ParseList(const std::wstring& text) {
  List masks;
  std::size_t start = 0;
  while (start <= text.size() && masks.size() < kMaxMasks) {
    const std::size_t end = std::min(text.find(L';', start), text.size());
    if (auto mask = ParseValue(text.substr(start, end - start))) masks.push_back(*mask);
    start = end + 1;
  }
  return masks;
}

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

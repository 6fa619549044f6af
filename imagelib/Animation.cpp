#include "imagelib/Animation.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace imagelib {

Region ChangedRegion(const Image& a, const Image& b) {
  int left = a.width, top = a.height, right = -1, bottom = -1;
  for (int y = 0; y < a.height; ++y) {
    const std::uint8_t* ra = a.Pixel(0, y);
    const std::uint8_t* rb = b.Pixel(0, y);
    if (std::memcmp(ra, rb, static_cast<std::size_t>(a.width) * 3) == 0) continue;
    top = std::min(top, y);
    bottom = y;
    for (int x = 0; x < a.width; ++x)
      if (std::memcmp(ra + x * 3, rb + x * 3, 3) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

Image Cut(const Image& image, const Region& r) {
  Image part{r.width, r.height, std::vector<std::uint8_t>(static_cast<std::size_t>(r.width) * r.height * 3)};
  for (int y = 0; y < r.height; ++y)
    std::memcpy(&part.rgb[static_cast<std::size_t>(y) * r.width * 3], image.Pixel(r.x, r.y + y),
                static_cast<std::size_t>(r.width) * 3);
  return part;
}

std::vector<std::uint8_t> AnimationWriter::TakeWritten() { return std::exchange(body_, {}); }

std::vector<std::uint8_t> AnimationWriter::Finish() {
  if (!Close()) return {};
  std::vector<std::uint8_t> out = Head();
  const std::vector<std::uint8_t>& body = KeptBody() ? *KeptBody() : body_;
  out.insert(out.end(), body.begin(), body.end());
  const std::vector<std::uint8_t> tail = Tail();
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

}  // namespace imagelib

// A picture in memory: top-down rows of 8-bit red, green, blue. Pure C++.
#pragma once

#include <cstdint>
#include <vector>

namespace imagelib {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3, row 0 at the top

  const std::uint8_t* Pixel(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// Whether a picture of this size can be held as 32-bit pixels (the largest
// buffer any step makes) in `addressSpace` bytes, with room to spare for the
// encoders' own buffers: an eighth of the space at most.
inline bool Addressable(std::int64_t width, std::int64_t height, std::uint64_t addressSpace = SIZE_MAX) {
  if (width <= 0 || height <= 0) return false;
  const std::uint64_t limit = addressSpace / 8 / 4;
  return static_cast<std::uint64_t>(width) <= limit / static_cast<std::uint64_t>(height);
}

}  // namespace imagelib

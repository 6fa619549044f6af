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

}  // namespace imagelib

// Windows bitmap files: 24 bits per pixel, bottom-up rows padded to 4 bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

std::vector<std::uint8_t> EncodeBmp(const Image& image);

}  // namespace imagelib

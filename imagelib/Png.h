// PNG files: deflate by zlib, filters chosen per row. Small pictures of at
// most 256 colours are written with an exact palette, others as 8-bit RGB.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

std::vector<std::uint8_t> EncodePng(const Image& image);

}  // namespace imagelib

// PNG files: 8-bit RGB, deflate by zlib, filters chosen per row.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

std::vector<std::uint8_t> EncodePng(const Image& image);

}  // namespace imagelib

// Baseline JPEG with the IJG quality scaling; full-resolution chroma above
// quality 90 (so at 100), 4:2:0 below.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

}  // namespace imagelib

// GIF files: an exact palette when the picture has at most 256 colours
// (lossless), otherwise a median-cut palette (colours spent where the picture
// is smooth rather than noisy) with nearest-colour mapping and
// no dithering, so that edges and text stay sharp. Our own LZW writer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

struct Palette {
  std::vector<std::array<std::uint8_t, 3>> colours;
  std::vector<std::uint8_t> indices;  // one per pixel
};

// The palette and the pixel indices; exact when the picture allows it.
Palette Quantize(const Image& image);
// The same with at most `maxColours` colours (2 to 256).
Palette Quantize(const Image& image, std::size_t maxColours);

// LZW data of a GIF image (without the sub-block framing): codes of
// minCodeSize + 1 up to 12 bits, a clear code first and whenever the table is full.
std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize);

std::vector<std::uint8_t> EncodeGif(const Image& image);

}  // namespace imagelib

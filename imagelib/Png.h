// PNG files: deflate by zlib, filters chosen per row. Small pictures of at
// most 256 colours are written with an exact palette, others as 8-bit RGB.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

std::vector<std::uint8_t> EncodePng(const Image& image);

// The zlib stream of the picture's filtered 8-bit RGB rows, as IDAT holds it.
std::vector<std::uint8_t> DeflatedRgb(const Image& image);
// A chunk with its length and CRC.
void AppendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data);

}  // namespace imagelib

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
// The same for a frame of a recording, which has to be done within the
// frame's time and is mostly screen content: rows of few colours left
// unfiltered, and deflated by the matcher made for such rows.
std::vector<std::uint8_t> DeflatedRgbFrame(const Image& image);
// The zlib stream of unfiltered rows of palette indices (one byte each, row
// after row), packed at `bits` (1, 2, 4 or 8) per pixel.
std::vector<std::uint8_t> DeflatedIndices(const std::uint8_t* indices, int width, int height, int bits);
// The indices of such a stream again, one byte each; throws on a stream
// that is not one.
std::vector<std::uint8_t> InflatedIndices(const std::vector<std::uint8_t>& zlibData, int width, int height, int bits);
// A chunk with its length and CRC.
void AppendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data);

}  // namespace imagelib

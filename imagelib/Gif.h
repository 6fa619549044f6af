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

// The blocks of a GIF file, for the still and the animated writer.
void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v);
// The bits of a colour table that holds `entries` (at least 1 bit).
int TableBits(std::size_t entries);
// A colour table of 2^bits entries; those past `colours` are black.
void PutColourTable(std::vector<std::uint8_t>& out, const std::vector<std::array<std::uint8_t, 3>>& colours, int bits);
// An image descriptor; `flags` says whether a table of its own follows.
void PutImageDescriptor(std::vector<std::uint8_t>& out, int x, int y, int width, int height, std::uint8_t flags);
// The image data of `indices` into a table of `tableBits`: the minimum code
// size, the LZW data in sub-blocks, and the terminator.
void PutImageData(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& indices, int tableBits);

}  // namespace imagelib

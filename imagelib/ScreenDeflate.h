// A deflate encoder for rows of screen pixels. zlib's matcher follows one
// chain of positions per three bytes, and in a picture of text most of them
// are the background: its search is spent before it reaches the line of text
// above, 10-40 KB back, which is where the long matches are. This one leaves
// the inside of runs out of its chains and tries the row above directly.
// Pure C++; the output is an ordinary zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imagelib {

// The zlib stream of `size` bytes at `data`, rows of `stride` bytes each
// (0: no rows).
std::vector<std::uint8_t> DeflateScreen(const std::uint8_t* data, std::size_t size, std::size_t stride);

}  // namespace imagelib

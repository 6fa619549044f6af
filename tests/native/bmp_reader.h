// A small reader of uncompressed BMP files (24-bit and 16-colour), for tests.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

struct TestPicture {
  int width = 0, height = 0;
  std::vector<std::array<std::uint8_t, 3>> rgb;  // top-down
  std::array<std::uint8_t, 3> At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

inline TestPicture ReadBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP: " + path);
  auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24; };
  auto u16 = [&](std::size_t at) { return b[at] | b[at + 1] << 8; };
  TestPicture p;
  std::uint32_t offset = u32(10), headerSize = u32(14);
  p.width = static_cast<int>(u32(18));
  int h = static_cast<int>(u32(22));
  bool bottomUp = h > 0;
  p.height = bottomUp ? h : -h;
  int bits = u16(28);
  if (u32(30) != 0) throw std::runtime_error("compressed BMP");
  std::size_t stride = ((static_cast<std::size_t>(p.width) * bits + 31) / 32) * 4;
  p.rgb.resize(static_cast<std::size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y) {
    std::size_t row = offset + stride * static_cast<std::size_t>(bottomUp ? p.height - 1 - y : y);
    for (int x = 0; x < p.width; ++x) {
      std::array<std::uint8_t, 3> c{};
      if (bits == 24) {
        std::size_t at = row + x * 3;
        c = {b[at + 2], b[at + 1], b[at]};
      } else if (bits == 4) {
        int index = (b[row + x / 2] >> (x % 2 ? 0 : 4)) & 15;
        std::size_t pal = 14 + headerSize + index * 4;
        c = {b[pal + 2], b[pal + 1], b[pal]};
      } else {
        throw std::runtime_error("unsupported depth");
      }
      p.rgb[static_cast<std::size_t>(y) * p.width + x] = c;
    }
  }
  return p;
}

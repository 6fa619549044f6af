#include "imagelib/Bmp.h"

namespace imagelib {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
  const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(image.height);
  std::vector<std::uint8_t> out(54 + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(out.size()));
  Put32(out, 10, 54);                      // offset of the pixels
  Put32(out, 14, 40);                      // BITMAPINFOHEADER
  Put32(out, 18, static_cast<std::uint32_t>(image.width));
  Put32(out, 22, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
  Put16(out, 26, 1);                       // planes
  Put16(out, 28, 24);                      // bits per pixel
  Put32(out, 34, static_cast<std::uint32_t>(pixelBytes));
  Put32(out, 38, 3780);                    // 96 dpi in pixels per metre
  Put32(out, 42, 3780);
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* row = &out[54 + stride * static_cast<std::size_t>(image.height - 1 - y)];
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      row[x * 3] = p[2];
      row[x * 3 + 1] = p[1];
      row[x * 3 + 2] = p[0];
    }
  }
  return out;
}

}  // namespace imagelib

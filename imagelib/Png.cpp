#include "imagelib/Png.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace imagelib {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data, std::size_t size) {
  Put32(out, static_cast<std::uint32_t>(size));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Filters one row with filter type f into out (without the type byte).
void FilterRow(int f, const std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::uint8_t* out) {
  const int bpp = 3;
  for (std::size_t i = 0; i < n; ++i) {
    int a = i >= bpp ? row[i - bpp] : 0;
    int b = prior ? prior[i] : 0;
    int c = (prior && i >= bpp) ? prior[i - bpp] : 0;
    int x = row[i];
    switch (f) {
      case 0: out[i] = static_cast<std::uint8_t>(x); break;
      case 1: out[i] = static_cast<std::uint8_t>(x - a); break;
      case 2: out[i] = static_cast<std::uint8_t>(x - b); break;
      case 3: out[i] = static_cast<std::uint8_t>(x - ((a + b) >> 1)); break;
      default: out[i] = static_cast<std::uint8_t>(x - Paeth(a, b, c)); break;
    }
  }
}

std::uint64_t Cost(const std::uint8_t* v, std::size_t n) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += v[i] < 128 ? v[i] : 256 - v[i];
  return sum;
}

// Raw scanlines, each with its filter type byte. Adaptive: per row the filter
// with the smallest sum of absolute values (the usual heuristic); flat rows
// keep filter 0, which suits screen content.
std::vector<std::uint8_t> Scanlines(const Image& image, bool adaptive) {
  const std::size_t n = static_cast<std::size_t>(image.width) * 3;
  std::vector<std::uint8_t> raw((n + 1) * image.height);
  std::vector<std::uint8_t> trial(n), best(n);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = &image.rgb[n * y];
    const std::uint8_t* prior = y ? &image.rgb[n * (y - 1)] : nullptr;
    std::uint8_t* out = &raw[(n + 1) * y];
    int chosen = 0;
    if (adaptive) {
      std::uint64_t bestCost = ~std::uint64_t{0};
      for (int f = 0; f < 5; ++f) {
        FilterRow(f, row, prior, n, trial.data());
        std::uint64_t cost = Cost(trial.data(), n);
        if (cost < bestCost) {
          bestCost = cost;
          chosen = f;
          best.swap(trial);
        }
      }
      std::memcpy(out + 1, best.data(), n);
    } else {
      std::memcpy(out + 1, row, n);
    }
    out[0] = static_cast<std::uint8_t>(chosen);
  }
  return raw;
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("zlib");
  std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(raw.size())));
  z.next_in = const_cast<Bytef*>(raw.data());
  z.avail_in = static_cast<uInt>(raw.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("zlib");
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  // Small pictures (UI captures) often pack best unfiltered; try both there.
  const bool small = static_cast<std::size_t>(image.width) * image.height <= 200000;
  std::vector<std::uint8_t> idat = Deflate(Scanlines(image, true), 9);
  if (small) {
    std::vector<std::uint8_t> plain = Deflate(Scanlines(image, false), 9);
    if (plain.size() < idat.size()) idat.swap(plain);
  }
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::uint8_t ihdr[13] = {};
  for (int i = 0; i < 4; ++i) {
    ihdr[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.width) >> (24 - 8 * i));
    ihdr[4 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.height) >> (24 - 8 * i));
  }
  ihdr[8] = 8;  // bit depth
  ihdr[9] = 2;  // truecolour
  Chunk(out, "IHDR", ihdr, sizeof ihdr);
  Chunk(out, "IDAT", idat.data(), idat.size());
  Chunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace imagelib

#include "imagelib/Png.h"

#include "imagelib/Gif.h"

#include <zlib.h>

#include <algorithm>
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

// Filters one row with filter type f into out (without the type byte); bpp
// is the distance in bytes to the pixel on the left.
void FilterRow(int f, const std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
               std::uint8_t* out) {
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
std::vector<std::uint8_t> Filtered(const std::uint8_t* rows, std::size_t n, int height, std::size_t bpp, bool adaptive) {
  std::vector<std::uint8_t> raw((n + 1) * height);
  std::vector<std::uint8_t> trial(n), best(n);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rows + n * y;
    const std::uint8_t* prior = y ? rows + n * (y - 1) : nullptr;
    std::uint8_t* out = &raw[(n + 1) * y];
    int chosen = 0;
    if (adaptive) {
      std::uint64_t bestCost = ~std::uint64_t{0};
      for (int f = 0; f < 5; ++f) {
        FilterRow(f, row, prior, n, bpp, trial.data());
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

std::vector<std::uint8_t> Scanlines(const Image& image, bool adaptive) {
  return Filtered(image.rgb.data(), static_cast<std::size_t>(image.width) * 3, image.height, 3, adaptive);
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

// Indexed scanlines, packed at `bits` per pixel and filtered.
std::vector<std::uint8_t> IndexedScanlines(const Palette& p, int width, int height, int bits, bool adaptive) {
  const std::size_t n = (static_cast<std::size_t>(width) * bits + 7) / 8;
  std::vector<std::uint8_t> packed(n * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t v = p.indices[static_cast<std::size_t>(y) * width + x];
      std::size_t bit = static_cast<std::size_t>(x) * bits;
      packed[n * y + bit / 8] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
    }
  // Filters work on bytes: the "pixel on the left" is one byte back.
  return Filtered(packed.data(), n, height, 1, adaptive);
}

void Header(std::vector<std::uint8_t>& out, const Image& image, int bits, int colourType) {
  std::uint8_t ihdr[13] = {};
  for (int i = 0; i < 4; ++i) {
    ihdr[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.width) >> (24 - 8 * i));
    ihdr[4 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.height) >> (24 - 8 * i));
  }
  ihdr[8] = static_cast<std::uint8_t>(bits);
  ihdr[9] = static_cast<std::uint8_t>(colourType);
  Chunk(out, "IHDR", ihdr, sizeof ihdr);
}

// At most 256 colours: an exact palette at the smallest bit depth, as the
// best PNG optimisers write it; nullopt for pictures with more colours.
std::vector<std::uint8_t> EncodeIndexed(const Image& image) {
  std::vector<std::uint8_t> out;
  std::size_t distinct = 0;
  {
    std::vector<std::uint32_t> seen;
    for (std::size_t i = 0; i < image.rgb.size() && distinct <= 256; i += 3) {
      std::uint32_t k = static_cast<std::uint32_t>(image.rgb[i]) << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2];
      if (std::find(seen.begin(), seen.end(), k) == seen.end()) {
        seen.push_back(k);
        ++distinct;
      }
    }
  }
  if (distinct > 256) return out;
  Palette p = Quantize(image);  // exact at this count
  const int bits = p.colours.size() <= 2 ? 1 : p.colours.size() <= 4 ? 2 : p.colours.size() <= 16 ? 4 : 8;
  std::vector<std::uint8_t> idat = Deflate(IndexedScanlines(p, image.width, image.height, bits, false), 9);
  std::vector<std::uint8_t> filtered = Deflate(IndexedScanlines(p, image.width, image.height, bits, true), 9);
  if (filtered.size() < idat.size()) idat.swap(filtered);
  out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Header(out, image, bits, 3);
  std::vector<std::uint8_t> plte;
  for (const auto& c : p.colours) plte.insert(plte.end(), c.begin(), c.end());
  Chunk(out, "PLTE", plte.data(), plte.size());
  Chunk(out, "IDAT", idat.data(), idat.size());
  Chunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  const bool small = static_cast<std::size_t>(image.width) * image.height <= 200000;
  if (small) {
    std::vector<std::uint8_t> indexed = EncodeIndexed(image);
    if (!indexed.empty()) return indexed;
  }
  // Small pictures (UI captures) often pack best unfiltered: both are tried
  // at the strongest level. Large ones take adaptive filters at level 8, which
  // comes within about 1.5 % of the strongest settings at about libpng's time.
  std::vector<std::uint8_t> idat = Deflate(Scanlines(image, true), small ? 9 : 8);
  if (small) {
    std::vector<std::uint8_t> plain = Deflate(Scanlines(image, false), 9);
    if (plain.size() < idat.size()) idat.swap(plain);
  }
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Header(out, image, 8, 2);  // truecolour
  Chunk(out, "IDAT", idat.data(), idat.size());
  Chunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace imagelib

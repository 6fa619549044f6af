#include "imagelib/Png.h"

#include "imagelib/Gif.h"
#include "imagelib/ScreenDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unordered_set>

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
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int bc = pb <= pc ? b : c;
  return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : bc);
}

// The five filters of one row, each in its own simple loop (the compiler
// vectorises them); bpp is the distance in bytes to the pixel on the left,
// prior the row above (zeros for the first row).
void FilterAll(const std::uint8_t* row, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
               std::uint8_t* const out[5]) {
  std::memcpy(out[0], row, n);
  const std::size_t lead = std::min(bpp, n);
  for (std::size_t i = 0; i < lead; ++i) {
    out[1][i] = row[i];
    out[2][i] = static_cast<std::uint8_t>(row[i] - prior[i]);
    out[3][i] = static_cast<std::uint8_t>(row[i] - (prior[i] >> 1));
    out[4][i] = static_cast<std::uint8_t>(row[i] - prior[i]);
  }
  for (std::size_t i = lead; i < n; ++i) out[1][i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
  for (std::size_t i = lead; i < n; ++i) out[2][i] = static_cast<std::uint8_t>(row[i] - prior[i]);
  for (std::size_t i = lead; i < n; ++i)
    out[3][i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + prior[i]) >> 1));
  for (std::size_t i = lead; i < n; ++i)
    out[4][i] = static_cast<std::uint8_t>(row[i] - Paeth(row[i - bpp], prior[i], prior[i - bpp]));
}

// Sum of the filtered bytes read as signed values: the usual heuristic for
// how well a row will compress.
std::uint64_t Cost(const std::uint8_t* v, std::size_t n) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const int x = static_cast<std::int8_t>(v[i]);
    sum += static_cast<std::uint64_t>(x < 0 ? -x : x);
  }
  return sum;
}

// Whether a row of RGB pixels has at most 16 colours: text, lines, flat
// areas. Unfiltered, such a row repeats exactly where its pixels do.
bool FewColours(const std::uint8_t* row, std::size_t n) {
  std::array<std::uint32_t, 16> seen{};
  std::size_t count = 0;
  std::uint32_t last = ~0u;
  for (std::size_t i = 0; i + 2 < n; i += 3) {
    const std::uint32_t c = std::uint32_t{row[i]} << 16 | std::uint32_t{row[i + 1]} << 8 | row[i + 2];
    if (c == last) continue;
    last = c;
    if (std::find(seen.begin(), seen.begin() + count, c) != seen.begin() + count) continue;
    if (count == seen.size()) return false;
    seen[count++] = c;
  }
  return true;
}

// Rows [first, last) of the raw scanlines, each with its filter type byte.
// Adaptive: per row the filter with the smallest cost; ties keep the lower
// type, so flat rows keep filter 0, which suits screen content. With
// `plainFew`, rows of few colours are left unfiltered.
void FilterRows(const std::uint8_t* rows, std::size_t n, int first, int last, std::size_t bpp, bool adaptive,
                std::uint8_t* raw, bool plainFew = false) {
  std::vector<std::uint8_t> buffers(5 * n), zeros(n, 0);
  std::uint8_t* const trial[5] = {&buffers[0], &buffers[n], &buffers[2 * n], &buffers[3 * n], &buffers[4 * n]};
  for (int y = first; y < last; ++y) {
    const std::uint8_t* row = rows + n * y;
    std::uint8_t* out = raw + (n + 1) * y;
    if (!adaptive || (plainFew && FewColours(row, n))) {
      out[0] = 0;
      std::memcpy(out + 1, row, n);
      continue;
    }
    FilterAll(row, y ? rows + n * (y - 1) : zeros.data(), n, bpp, trial);
    int chosen = 0;
    std::uint64_t bestCost = ~std::uint64_t{0};
    for (int f = 0; f < 5; ++f) {
      const std::uint64_t cost = Cost(trial[f], n);
      if (cost < bestCost) {
        bestCost = cost;
        chosen = f;
      }
    }
    out[0] = static_cast<std::uint8_t>(chosen);
    std::memcpy(out + 1, trial[chosen], n);
  }
}

// Large pictures are filtered and deflated in as many pieces as there are
// processors (at most four); small ones in one piece.
int Pieces(std::size_t bytes) {
  if (bytes < (std::size_t{1} << 20)) return 1;
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores, 1u, 4u));
}

// Runs work(0) .. work(count - 1), on threads when there is more than one.
void InParallel(int count, const std::function<void(int)>& work) {
  if (count == 1) {
    work(0);
    return;
  }
  std::vector<std::thread> threads;
  std::exception_ptr failure;
  std::mutex lock;
  auto run = [&](int k) {
    try {
      work(k);
    } catch (...) {
      std::lock_guard<std::mutex> guard(lock);
      failure = std::current_exception();
    }
  };
  for (int k = 0; k < count; ++k) {
    try {
      threads.emplace_back(run, k);
    } catch (const std::system_error&) {
      run(k);  // no thread to be had: this piece is done here
    }
  }
  for (auto& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

std::vector<std::uint8_t> Filtered(const std::uint8_t* rows, std::size_t n, int height, std::size_t bpp, bool adaptive) {
  std::vector<std::uint8_t> raw((n + 1) * height);
  const int pieces = std::min(Pieces(raw.size()), height);
  InParallel(pieces, [&](int k) {
    FilterRows(rows, n, height * k / pieces, height * (k + 1) / pieces, bpp, adaptive, raw.data());
  });
  return raw;
}

std::vector<std::uint8_t> Scanlines(const Image& image, bool adaptive) {
  return Filtered(image.rgb.data(), static_cast<std::size_t>(image.width) * 3, image.height, 3, adaptive);
}

// One raw-deflate piece of the zlib stream: primed with the 32 KB before it,
// so matches reach back across the seam, and ending byte-aligned (the last
// piece with the final block) so that the pieces simply follow each other.
std::vector<std::uint8_t> DeflatePiece(const std::uint8_t* data, std::size_t begin, std::size_t end, int level,
                                       int strategy, bool last) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 9, strategy) != Z_OK) throw std::runtime_error("zlib");
  std::vector<std::uint8_t> out;
  int rc = Z_OK;
  if (begin > 0) {
    const std::size_t dict = std::min<std::size_t>(32768, begin);
    rc = deflateSetDictionary(&z, data + begin - dict, static_cast<uInt>(dict));
  }
  if (rc == Z_OK) {
    out.resize(deflateBound(&z, static_cast<uLong>(end - begin)) + 16);
    z.next_in = const_cast<Bytef*>(data + begin);
    z.avail_in = static_cast<uInt>(end - begin);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(z.total_out);
  }
  deflateEnd(&z);
  if (rc != (last ? Z_STREAM_END : Z_OK) || z.avail_in != 0) throw std::runtime_error("zlib");
  return out;
}

// A zlib stream of raw: header, the deflated pieces, Adler-32.
std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw, int level, int strategy = Z_DEFAULT_STRATEGY) {
  const int pieces = Pieces(raw.size());
  std::vector<std::vector<std::uint8_t>> parts(pieces);
  InParallel(pieces, [&](int k) {
    parts[k] = DeflatePiece(raw.data(), raw.size() * k / pieces, raw.size() * (k + 1) / pieces, level, strategy,
                            k == pieces - 1);
  });
  std::vector<std::uint8_t> out = {0x78, 0xDA};  // deflate, 32 KB window, strongest compression
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  uLong adler = adler32(0, nullptr, 0);
  for (std::size_t at = 0; at < raw.size();) {
    const std::size_t len = std::min<std::size_t>(raw.size() - at, std::size_t{1} << 30);
    adler = adler32(adler, raw.data() + at, static_cast<uInt>(len));
    at += len;
  }
  Put32(out, static_cast<std::uint32_t>(adler));
  return out;
}

// The deflate strategy for filtered truecolour rows. Sensor noise leaves
// short, poor matches that the filtered strategy passes over in favour of
// Huffman codes (as libpng does); pictures with real repetition lose by it.
// A sixteenth of the rows from the middle, deflated both ways at once,
// decides.
int StrategyFor(const std::vector<std::uint8_t>& raw, int level) {
  const std::size_t sample = raw.size() / 16;
  if (sample < 4096) return Z_DEFAULT_STRATEGY;
  const std::size_t begin = (raw.size() - sample) / 2;
  std::size_t sizes[2] = {};
  const int strategies[2] = {Z_DEFAULT_STRATEGY, Z_FILTERED};
  InParallel(2, [&](int k) {
    sizes[k] = DeflatePiece(raw.data(), begin, begin + sample, level, strategies[k], true).size();
  });
  return sizes[1] < sizes[0] ? Z_FILTERED : Z_DEFAULT_STRATEGY;
}

// Indices (one byte each) packed at `bits` per pixel, rows starting on a byte.
std::vector<std::uint8_t> Packed(const std::uint8_t* indices, int width, int height, int bits) {
  const std::size_t n = (static_cast<std::size_t>(width) * bits + 7) / 8;
  std::vector<std::uint8_t> packed(n * height, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = indices + static_cast<std::size_t>(y) * width;
    std::uint8_t* out = &packed[n * y];
    if (bits == 8) {
      std::memcpy(out, row, static_cast<std::size_t>(width));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const std::size_t bit = static_cast<std::size_t>(x) * bits;
      out[bit / 8] |= static_cast<std::uint8_t>(row[x] << (8 - bits - bit % 8));
    }
  }
  return packed;
}

// Indexed scanlines, packed at `bits` per pixel and filtered.
std::vector<std::uint8_t> IndexedScanlines(const Palette& p, int width, int height, int bits, bool adaptive) {
  const std::size_t n = (static_cast<std::size_t>(width) * bits + 7) / 8;
  const std::vector<std::uint8_t> packed = Packed(p.indices.data(), width, height, bits);
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
// best PNG optimisers write it; nothing (an empty result) for pictures with
// more colours.
std::vector<std::uint8_t> EncodeIndexed(const Image& image) {
  std::vector<std::uint8_t> out;
  std::size_t distinct = 0;
  {
    // Colours seen so far, hashed: a search through a list of up to 256 for
    // every pixel cost more than the deflating.
    std::unordered_set<std::uint32_t> seen;
    seen.reserve(600);
    std::uint32_t last = ~0u;
    for (std::size_t i = 0; i < image.rgb.size() && distinct <= 256; i += 3) {
      std::uint32_t k = static_cast<std::uint32_t>(image.rgb[i]) << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2];
      if (k == last) continue;  // runs of one colour are the common case
      last = k;
      if (seen.insert(k).second) ++distinct;
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

void AppendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Chunk(out, type, data.data(), data.size());
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  const bool small = static_cast<std::size_t>(image.width) * image.height <= 200000;
  if (small) {
    std::vector<std::uint8_t> indexed = EncodeIndexed(image);
    if (!indexed.empty()) return indexed;
  }
  const std::vector<std::uint8_t> idat = DeflatedRgb(image);
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Header(out, image, 8, 2);  // truecolour
  Chunk(out, "IDAT", idat.data(), idat.size());
  Chunk(out, "IEND", nullptr, 0);
  return out;
}

std::vector<std::uint8_t> DeflatedIndices(const std::uint8_t* indices, int width, int height, int bits) {
  const std::size_t n = (static_cast<std::size_t>(width) * bits + 7) / 8;
  const std::vector<std::uint8_t> packed = Packed(indices, width, height, bits);
  const std::vector<std::uint8_t> raw = Filtered(packed.data(), n, height, 1, false);
  return DeflateScreen(raw.data(), raw.size(), n + 1);
}

std::vector<std::uint8_t> InflatedIndices(const std::vector<std::uint8_t>& zlibData, int width, int height, int bits) {
  const std::size_t n = (static_cast<std::size_t>(width) * bits + 7) / 8;
  std::vector<std::uint8_t> raw((n + 1) * height);
  uLongf size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &size, zlibData.data(), static_cast<uLong>(zlibData.size())) != Z_OK || size != raw.size())
    throw std::runtime_error("zlib");
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height);
  const unsigned mask = (1u << bits) - 1;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = &raw[(n + 1) * y + 1];  // unfiltered: the filter byte is 0
    for (int x = 0; x < width; ++x) {
      const std::size_t bit = static_cast<std::size_t>(x) * bits;
      indices[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(row[bit / 8] >> (8 - bits - bit % 8) & mask);
    }
  }
  return indices;
}

std::vector<std::uint8_t> DeflatedRgbFrame(const Image& image) {
  const std::size_t n = static_cast<std::size_t>(image.width) * 3;
  std::vector<std::uint8_t> raw((n + 1) * image.height);
  FilterRows(image.rgb.data(), n, 0, image.height, 3, true, raw.data(), true);
  return DeflateScreen(raw.data(), raw.size(), n + 1);
}

std::vector<std::uint8_t> DeflatedRgb(const Image& image) {
  const bool small = static_cast<std::size_t>(image.width) * image.height <= 200000;
  // Small pictures (UI captures) often pack best unfiltered: both are tried
  // at the strongest level. Large ones take adaptive filters at level 8, which
  // comes within about 1.5 % of the strongest settings; spread over the
  // processors it takes less time than libpng's defaults.
  std::vector<std::uint8_t> idat;
  if (small) {
    // Both candidates at once, one on each processor.
    std::vector<std::uint8_t> candidates[2];
    InParallel(2, [&](int k) { candidates[k] = Deflate(Scanlines(image, k == 0), 9); });
    idat = std::move(candidates[candidates[1].size() < candidates[0].size() ? 1 : 0]);
  } else {
    const std::vector<std::uint8_t> rows = Scanlines(image, true);
    idat = Deflate(rows, 8, StrategyFor(rows, 8));
  }
  return idat;
}

}  // namespace imagelib

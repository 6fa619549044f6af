#include "imagelib/Gif.h"

#include "imagelib/BitWriter.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace imagelib {
namespace {

std::uint32_t Key(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]; }

// One box of the median cut over a 6-bit-per-channel histogram; counts and
// sums are weighted.
struct Bin {
  std::uint64_t count;
  std::uint64_t sum[3];
  std::uint8_t at[3];  // 6-bit coordinates
};

bool Near(const std::uint8_t* p, const std::uint8_t* q) {
  const int dr = p[0] - q[0], dg = p[1] - q[1], db = p[2] - q[2];
  return dr * dr + dg * dg + db * db <= 75;
}

// How much each pixel counts when the palette is chosen. A pixel unlike all
// four neighbours lies in noise (a photo, grain): an error there is hard to
// see, and every extra colour spent there costs many bytes, because LZW finds
// few repeats in it. Such pixels count 1/32 of the others, so the colours go
// to the smooth areas (gradients, flat UI), where banding would show. Text
// keeps its weight: a stroke pixel nearly always has a neighbour of its own
// colour.
std::vector<std::uint8_t> Weights(const Image& image) {
  constexpr std::uint8_t kSmooth = 32, kNoisy = 1;
  const int w = image.width, h = image.height;
  std::vector<std::uint8_t> weight(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = image.Pixel(x, y);
      const bool alike = (x > 0 && Near(p, image.Pixel(x - 1, y))) || (x + 1 < w && Near(p, image.Pixel(x + 1, y))) ||
                         (y > 0 && Near(p, image.Pixel(x, y - 1))) || (y + 1 < h && Near(p, image.Pixel(x, y + 1)));
      weight[static_cast<std::size_t>(y) * w + x] = alike ? kSmooth : kNoisy;
    }
  return weight;
}

struct Box {
  std::size_t first, last;  // range in the bin list
  double error;             // sum of squared distances to the mean
  int axis;                 // axis of the largest spread
};

Box MakeBox(std::vector<Bin>& bins, std::size_t first, std::size_t last) {
  double n = 0, s[3] = {}, ss[3] = {};
  for (std::size_t i = first; i < last; ++i) {
    const Bin& b = bins[i];
    n += b.count;
    for (int c = 0; c < 3; ++c) {
      double mean = static_cast<double>(b.sum[c]) / b.count;
      s[c] += static_cast<double>(b.sum[c]);
      ss[c] += mean * mean * b.count;
    }
  }
  Box box{first, last, 0, 0};
  double best = -1;
  for (int c = 0; c < 3; ++c) {
    double var = ss[c] - s[c] * s[c] / n;
    box.error += var;
    if (var > best) {
      best = var;
      box.axis = c;
    }
  }
  if (last - first < 2) box.error = 0;  // one bin cannot be split
  return box;
}

// The picture's colours at 6 bits a channel, each with its weighted count and sum.
std::vector<Bin> Histogram(const Image& image) {
  std::vector<std::uint32_t> index(1 << 18, 0xFFFFFFFFu);
  std::vector<Bin> bins;
  const std::size_t n = static_cast<std::size_t>(image.width) * image.height;
  const std::vector<std::uint8_t> weight = Weights(image);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* p = &image.rgb[i * 3];
    const std::uint32_t w = weight[i];
    std::uint32_t k = (p[0] >> 2) << 12 | (p[1] >> 2) << 6 | (p[2] >> 2);
    if (index[k] == 0xFFFFFFFFu) {
      index[k] = static_cast<std::uint32_t>(bins.size());
      bins.push_back({0, {0, 0, 0}, {static_cast<std::uint8_t>(p[0] >> 2), static_cast<std::uint8_t>(p[1] >> 2),
                                     static_cast<std::uint8_t>(p[2] >> 2)}});
    }
    Bin& b = bins[index[k]];
    b.count += w;
    for (int c = 0; c < 3; ++c) b.sum[c] += p[c] * w;
  }
  return bins;
}

// Splits `box` along its widest axis where half of its pixels lie on each side.
std::pair<Box, Box> Split(std::vector<Bin>& bins, const Box& box) {
  auto first = bins.begin() + static_cast<std::ptrdiff_t>(box.first);
  auto last = bins.begin() + static_cast<std::ptrdiff_t>(box.last);
  const int axis = box.axis;
  std::sort(first, last, [axis](const Bin& a, const Bin& b) { return a.at[axis] < b.at[axis]; });
  std::uint64_t total = 0, half = 0;
  for (auto b = first; b != last; ++b) total += b->count;
  std::size_t cut = box.first + 1;
  for (std::size_t i = box.first; i + 1 < box.last; ++i) {
    half += bins[i].count;
    cut = i + 1;
    if (half * 2 >= total) break;
  }
  return {MakeBox(bins, box.first, cut), MakeBox(bins, cut, box.last)};
}

std::array<std::uint8_t, 3> MeanColour(const std::vector<Bin>& bins, const Box& box) {
  std::uint64_t count = 0, sum[3] = {};
  for (std::size_t i = box.first; i < box.last; ++i) {
    count += bins[i].count;
    for (int c = 0; c < 3; ++c) sum[c] += bins[i].sum[c];
  }
  std::array<std::uint8_t, 3> colour{};
  for (int c = 0; c < 3; ++c) colour[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
  return colour;
}

std::vector<std::array<std::uint8_t, 3>> MedianCut(const Image& image, std::size_t maxColours) {
  std::vector<Bin> bins = Histogram(image);
  std::vector<Box> boxes{MakeBox(bins, 0, bins.size())};
  while (boxes.size() < maxColours) {
    auto it = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.error < b.error; });
    if (it->error <= 0) break;
    auto [low, high] = Split(bins, *it);
    *it = low;
    boxes.push_back(high);
  }
  std::vector<std::array<std::uint8_t, 3>> palette;
  for (const Box& box : boxes) palette.push_back(MeanColour(bins, box));
  return palette;
}

// Averages each palette entry over the pixels mapped to it: the entries move
// to where the picture's colours are.
void Refine(const Image& image, std::vector<std::array<std::uint8_t, 3>>& palette,
            const std::vector<std::uint8_t>& indices) {
  std::vector<std::uint64_t> sum(palette.size() * 3), count(palette.size());
  const std::size_t n = indices.size();
  for (std::size_t i = 0; i < n; ++i) {
    ++count[indices[i]];
    for (int c = 0; c < 3; ++c) sum[indices[i] * 3 + c] += image.rgb[i * 3 + c];
  }
  for (std::size_t k = 0; k < palette.size(); ++k)
    if (count[k])
      for (int c = 0; c < 3; ++c) palette[k][c] = static_cast<std::uint8_t>((sum[k * 3 + c] + count[k] / 2) / count[k]);
}

int Distance(const std::uint8_t* p, const std::array<std::uint8_t, 3>& q) {
  const int dr = p[0] - q[0], dg = p[1] - q[1], db = p[2] - q[2];
  return dr * dr + dg * dg + db * db;
}

// Nearest palette entry of every pixel, exactly. The colour space is cut into
// cells of 4 x 4 x 4; for each cell met, only the entries that can be nearest
// to some colour in it are kept (those not farther at their closest than the
// best entry at its farthest), so each pixel compares a handful of entries.
// The exact nearest palette entry of a colour. Each cell of 4 x 4 x 4
// values gets, once, the list of entries that can be nearest to some colour
// in it: those no farther from the cell than its nearest entry's farthest
// point. A colour is then compared with its cell's list only.
class NearestColour {
 public:
  explicit NearestColour(const std::vector<std::array<std::uint8_t, 3>>& palette)
      : palette_(palette), cellAt_(1 << 18, kNone), nearest_(palette.size()) {}

  std::uint8_t Of(const std::uint8_t* p) {
    const std::uint32_t cell = (p[0] >> 2) << 12 | (p[1] >> 2) << 6 | (p[2] >> 2);
    if (cellAt_[cell] == kNone) cellAt_[cell] = Candidates(cell);
    const std::uint8_t* list = &candidates_[cellAt_[cell]];
    int best = list[1], bestDist = Distance(p, palette_[list[1]]);
    for (int k = 2; k <= list[0]; ++k) {
      const int d = Distance(p, palette_[list[k]]);
      if (d < bestDist || (d == bestDist && list[k] < best)) {
        bestDist = d;
        best = list[k];
      }
    }
    return static_cast<std::uint8_t>(best);
  }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  // Where the cell's list starts in candidates_: a count, then the entries.
  std::uint32_t Candidates(std::uint32_t cell) {
    const int lo[3] = {static_cast<int>(cell >> 12) << 2, static_cast<int>((cell >> 6) & 63) << 2,
                       static_cast<int>(cell & 63) << 2};
    int bound = 1 << 30;
    for (std::size_t j = 0; j < palette_.size(); ++j) {
      int in = 0, out = 0;
      for (int c = 0; c < 3; ++c) {
        const int v = palette_[j][c], a = lo[c], b = lo[c] + 3;
        const int d = v < a ? a - v : v > b ? v - b : 0;
        const int f = std::max(std::abs(v - a), std::abs(v - b));
        in += d * d;
        out += f * f;
      }
      nearest_[j] = in;
      bound = std::min(bound, out);
    }
    const auto at = static_cast<std::uint32_t>(candidates_.size());
    candidates_.push_back(0);
    for (std::size_t j = 0; j < palette_.size(); ++j)
      if (nearest_[j] <= bound) {
        candidates_.push_back(static_cast<std::uint8_t>(j));
        ++candidates_[at];
      }
    return at;
  }

  const std::vector<std::array<std::uint8_t, 3>>& palette_;
  std::vector<std::uint32_t> cellAt_;
  std::vector<std::uint8_t> candidates_;
  std::vector<int> nearest_;
};

void Map(const Image& image, const std::vector<std::array<std::uint8_t, 3>>& palette, std::vector<std::uint8_t>& indices) {
  NearestColour nearest(palette);
  const std::size_t n = static_cast<std::size_t>(image.width) * image.height;
  indices.resize(n);
  std::uint32_t lastKey = 0xFFFFFFFFu;
  std::uint8_t lastIndex = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* p = &image.rgb[i * 3];
    const std::uint32_t key = Key(p);
    if (key != lastKey) {
      lastKey = key;
      lastIndex = nearest.Of(p);
    }
    indices[i] = lastIndex;
  }
}

}  // namespace

Palette Quantize(const Image& image) { return Quantize(image, 256); }

Palette Quantize(const Image& image, std::size_t maxColours) {
  Palette result;
  const std::size_t n = static_cast<std::size_t>(image.width) * image.height;
  std::unordered_map<std::uint32_t, std::uint8_t> exact;
  bool fits = true;
  for (std::size_t i = 0; i < n && fits; ++i) {
    std::uint32_t k = Key(&image.rgb[i * 3]);
    if (exact.count(k)) continue;
    if (exact.size() == maxColours) {
      fits = false;
      break;
    }
    exact.emplace(k, static_cast<std::uint8_t>(exact.size()));
    result.colours.push_back({image.rgb[i * 3], image.rgb[i * 3 + 1], image.rgb[i * 3 + 2]});
  }
  if (fits) {
    result.indices.resize(n);
    for (std::size_t i = 0; i < n; ++i) result.indices[i] = exact[Key(&image.rgb[i * 3])];
    return result;
  }
  result.colours = MedianCut(image, maxColours);
  Map(image, result.colours, result.indices);
  Refine(image, result.colours, result.indices);
  Map(image, result.colours, result.indices);
  return result;
}

// The string table of the LZW coder: a code for each prefix and byte seen,
// in open addressing (key = prefix << 8 | byte, 8192 slots for at most 4096
// codes).
class LzwTable {
 public:
  static constexpr int kSlots = 8192;
  LzwTable() : keys_(kSlots, -1), codes_(kSlots, 0) {}
  // The slot of `key`: where it is, or where it would go.
  std::uint32_t Find(std::int32_t key) const {
    std::uint32_t slot = (static_cast<std::uint32_t>(key) * 2654435761u) >> 19;  // top 13 bits
    while (keys_[slot] != -1 && keys_[slot] != key) slot = (slot + 1) & (kSlots - 1);
    return slot;
  }
  bool Holds(std::uint32_t slot) const { return keys_[slot] != -1; }
  int Code(std::uint32_t slot) const { return codes_[slot]; }
  void Add(std::uint32_t slot, std::int32_t key, int code) {
    keys_[slot] = key;
    codes_[slot] = static_cast<std::int16_t>(code);
  }
  void Clear() { std::fill(keys_.begin(), keys_.end(), -1); }

 private:
  std::vector<std::int32_t> keys_;
  std::vector<std::int16_t> codes_;
};

std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize) {
  const int clear = 1 << minCodeSize, eoi = clear + 1;
  int width = minCodeSize + 1, next = eoi + 1;
  LzwTable table;
  BitWriter out;
  auto emit = [&](int code) {
    out.Put(code, width);
    if (next >= (1 << width) && width < 12) ++width;
  };
  out.Put(clear, width);
  int prefix = indices.empty() ? -1 : indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const int k = indices[i];
    const std::int32_t key = prefix << 8 | k;
    const std::uint32_t slot = table.Find(key);
    if (table.Holds(slot)) {
      prefix = table.Code(slot);
      continue;
    }
    emit(prefix);
    prefix = k;
    if (next < 4095) {
      table.Add(slot, key, next++);
      continue;
    }
    emit(clear);
    next = eoi + 1;
    width = minCodeSize + 1;
    table.Clear();
  }
  if (prefix >= 0) emit(prefix);
  out.Put(eoi, width);
  return out.Finish();
}

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

int TableBits(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

void PutColourTable(std::vector<std::uint8_t>& out, const std::vector<std::array<std::uint8_t, 3>>& colours, int bits) {
  for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
    const auto c = i < colours.size() ? colours[i] : std::array<std::uint8_t, 3>{0, 0, 0};
    out.insert(out.end(), c.begin(), c.end());
  }
}

void PutImageDescriptor(std::vector<std::uint8_t>& out, int x, int y, int width, int height, std::uint8_t flags) {
  out.push_back(0x2C);
  PutLe16(out, static_cast<std::uint32_t>(x));
  PutLe16(out, static_cast<std::uint32_t>(y));
  PutLe16(out, static_cast<std::uint32_t>(width));
  PutLe16(out, static_cast<std::uint32_t>(height));
  out.push_back(flags);
}

void PutImageData(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& indices, int tableBits) {
  const int minCodeSize = std::max(2, tableBits);
  out.push_back(static_cast<std::uint8_t>(minCodeSize));
  const std::vector<std::uint8_t> data = LzwEncode(indices, minCodeSize);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t len = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(len));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + len));
  }
  out.push_back(0);
}

std::vector<std::uint8_t> EncodeGif(const Image& image) {
  if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535) return {};
  const Palette palette = Quantize(image);
  const int tableBits = TableBits(palette.colours.size());
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  PutLe16(out, static_cast<std::uint32_t>(image.width));
  PutLe16(out, static_cast<std::uint32_t>(image.height));
  out.push_back(static_cast<std::uint8_t>(0x80 | 0x70 | (tableBits - 1)));  // global table, 8-bit colour resolution
  out.push_back(0);  // background colour
  out.push_back(0);  // aspect
  PutColourTable(out, palette.colours, tableBits);
  PutImageDescriptor(out, 0, 0, image.width, image.height, 0);  // no table of its own, not interlaced
  PutImageData(out, palette.indices, tableBits);
  out.push_back(0x3B);
  return out;
}

}  // namespace imagelib

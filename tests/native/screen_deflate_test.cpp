#include "imagelib/ScreenDeflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

std::vector<std::uint8_t> Inflated(const std::vector<std::uint8_t>& stream, std::size_t size) {
  std::vector<std::uint8_t> out(size + 1);
  uLongf n = static_cast<uLongf>(out.size());
  EXPECT_EQ(uncompress(out.data(), &n, stream.data(), static_cast<uLong>(stream.size())), Z_OK);
  out.resize(n);
  return out;
}

std::size_t ZlibSize(const std::vector<std::uint8_t>& data) {
  uLongf n = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(n);
  EXPECT_EQ(compress2(out.data(), &n, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
  return n;
}

std::vector<std::uint8_t> Random(std::size_t n, unsigned seed, int values) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(n);
  for (auto& b : v) b = static_cast<std::uint8_t>(rng() % values);
  return v;
}

// Rows of RGB text: a white page, and every 18 rows a line of 90 letters of
// 6 x 12 pixels drawn from an alphabet of 20, the same line each time, as a
// list of similar items looks; 600 pixels wide, so the line above is 18
// rows, 32 KB, back, and the letters' patterns are everywhere in between.
std::vector<std::uint8_t> TextRows(int rows) {
  const std::size_t stride = 600 * 3 + 1;
  const std::vector<std::uint8_t> alphabet = Random(20 * 12 * 6, 7, 3), line = Random(90, 8, 20);
  std::vector<std::uint8_t> data(stride * rows, 255);
  for (int y = 0; y < rows; ++y) {
    data[stride * y] = 0;  // the filter byte: none
    if (y % 18 >= 12) continue;
    for (int x = 0; x < 540; ++x)
      if (alphabet[(line[x / 6] * 12 + y % 18) * 6 + x % 6] == 0)
        for (int c = 0; c < 3; ++c) data[stride * y + 1 + (30 + x) * 3 + c] = static_cast<std::uint8_t>(30 + c);
  }
  return data;
}

}  // namespace

TEST(ScreenDeflate, EveryKindOfInputComesBackExactly) {
  const std::vector<std::vector<std::uint8_t>> inputs = {
      {},
      {42},
      {1, 2},
      std::vector<std::uint8_t>(259, 0),               // one match of the longest length
      std::vector<std::uint8_t>(3 * 70000, 7),         // a run far longer than the window
      Random(100000, 1, 256),                          // no matches: many blocks of literals
      Random(100000, 2, 3),                            // short matches everywhere
      TextRows(90),
  };
  for (const auto& data : inputs) {
    const auto stream = imagelib::DeflateScreen(data.data(), data.size(), 1801);
    EXPECT_EQ(Inflated(stream, data.size()), data) << data.size() << " bytes";
    EXPECT_EQ((stream[0] * 256 + stream[1]) % 31, 0);  // a valid zlib header
  }
  // What repeats further back than the window may reach is not matched there.
  std::vector<std::uint8_t> far = Random(40000, 3, 256);
  const std::vector<std::uint8_t> again = far;
  far.insert(far.end(), again.begin(), again.end());
  EXPECT_EQ(Inflated(imagelib::DeflateScreen(far.data(), far.size(), 0), far.size()), far);
}

TEST(ScreenDeflate, SmallerThanZlibsStrongestOnScreenRows) {
  // Lines of text repeated 18 rows apart: zlib's chains are spent on the
  // white page before they reach them.
  const std::vector<std::uint8_t> text = TextRows(540);
  const std::size_t ours = imagelib::DeflateScreen(text.data(), text.size(), 1801).size();
  EXPECT_LT(ours, ZlibSize(text) * 3 / 4) << ours << " bytes, zlib " << ZlibSize(text);
  // One colour: runs of the longest length, each a code of its own without
  // extra bits (as zlib writes them), so no larger than zlib's.
  const std::vector<std::uint8_t> flat(1 << 20, 255);
  EXPECT_LE(imagelib::DeflateScreen(flat.data(), flat.size(), 2401).size(), ZlibSize(flat));
}

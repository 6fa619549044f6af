#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

#include "bench/pictures.h"
#include "bmp_reader.h"
#include "decoders.h"
#include "imagelib/Bmp.h"
#include "imagelib/Gif.h"
#include "imagelib/Jpeg.h"
#include "imagelib/Png.h"

using imagelib::Image;

namespace {

Image Few(int w, int h, int colours) {
  Image im{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int c = static_cast<int>(pictures::Hash(static_cast<std::uint32_t>(x / 3 + y * 7)) % colours);
      pictures::Set(im, x, y, (c * 37) & 255, (c * 91) & 255, (c * 53) & 255);
    }
  return im;
}

}  // namespace

TEST(Bmp, TwentyFourBitBottomUpWithPaddedRows) {
  for (int w : {1, 2, 3, 4, 33}) {
    Image im = Few(w, 5, 200);
    auto bytes = imagelib::EncodeBmp(im);
    std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    EXPECT_EQ(bytes.size(), 54 + stride * 5);
    std::string path = ::testing::TempDir() + "t.bmp";
    {
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TestPicture back = ReadBmp(path);
    ASSERT_EQ(back.width, w);
    ASSERT_EQ(back.height, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < w; ++x) {
        auto p = im.Pixel(x, y);
        EXPECT_EQ(back.At(x, y), (std::array<std::uint8_t, 3>{p[0], p[1], p[2]}));
      }
  }
}

TEST(Png, LosslessForScreenAndPhotoPictures) {
  // The large ones are filtered and deflated in pieces on several threads,
  // the one-row picture with more pieces than rows.
  for (const Image& im : {pictures::DesktopLike(320, 240), pictures::PhotoLike(97, 61), Few(1, 1, 1), Few(5, 300, 3),
                          pictures::DesktopLike(1000, 700), pictures::PhotoLike(800, 600), Few(360000, 1, 300)}) {
    auto bytes = imagelib::EncodePng(im);
    Decoded d = DecodePng(bytes);
    EXPECT_EQ(d.width, im.width);
    EXPECT_EQ(d.height, im.height);
    EXPECT_EQ(d.rgb, im.rgb);
  }
}

TEST(Jpeg, QualitiesMatchWhatUsersKnow) {
  Image photo = pictures::PhotoLike(320, 240);
  std::size_t previous = 0;
  for (int q : {20, 50, 100}) {
    auto bytes = imagelib::EncodeJpeg(photo, q);
    Decoded d = DecodeJpeg(bytes);
    ASSERT_EQ(d.width, 320);
    ASSERT_EQ(d.height, 240);
    EXPECT_GT(bytes.size(), previous);
    previous = bytes.size();
    double psnr = pictures::Psnr(photo, d.rgb);
    EXPECT_GT(psnr, q == 100 ? 40.0 : q == 50 ? 30.0 : 27.0) << q;
    EXPECT_EQ(d.lumaSampling, q == 100 ? 1 : 2) << "full-resolution chroma only at the top quality";
  }
  EXPECT_TRUE(imagelib::EncodeJpeg(photo, 0).empty());
  EXPECT_TRUE(imagelib::EncodeJpeg(photo, 101).empty());
}

TEST(Gif, ExactPaletteIsLossless) {
  for (const Image& im : {Few(64, 48, 256), Few(7, 3, 2), Few(1, 1, 1), Few(300, 200, 17), pictures::Crop(pictures::DesktopLike(320, 240), 60, 40, 160, 64)}) {
    std::set<std::array<std::uint8_t, 3>> distinct;
    for (std::size_t i = 0; i < im.rgb.size(); i += 3) distinct.insert({im.rgb[i], im.rgb[i + 1], im.rgb[i + 2]});
    ASSERT_LE(distinct.size(), 256u);
    Decoded d = DecodeGif(imagelib::EncodeGif(im));
    EXPECT_EQ(d.width, im.width);
    EXPECT_EQ(d.rgb, im.rgb) << im.width << "x" << im.height;
  }
}

TEST(Gif, ManyColoursAreReducedWithoutBlurringEdges) {
  Image desktop = pictures::DesktopLike(480, 270);
  auto bytes = imagelib::EncodeGif(desktop);
  Decoded d = DecodeGif(bytes);
  EXPECT_EQ(d.colours, 256);
  EXPECT_GT(pictures::Psnr(desktop, d.rgb), 35.0);
  // Flat UI colours and black text survive exactly (no dithering).
  for (auto [x, y] : std::vector<std::pair<int, int>>{{200, 100}, {30, 100}, {100, 3}}) {
    const std::uint8_t* p = desktop.Pixel(x, y);
    const std::uint8_t* q = &d.rgb[(static_cast<std::size_t>(y) * 480 + x) * 3];
    EXPECT_EQ(std::vector<int>(p, p + 3), std::vector<int>(q, q + 3)) << x << "," << y;
  }
}

TEST(Gif, EveryPixelTakesItsNearestPaletteColour) {
  // The mapping searches only the entries that can be nearest in each part of
  // the colour space; it must find the same as a search of all of them.
  for (const Image& im : {pictures::PhotoLike(300, 200), pictures::DesktopLike(400, 300)}) {
    imagelib::Palette p = imagelib::Quantize(im);
    ASSERT_EQ(p.colours.size(), 256u);
    int wrong = 0;
    for (std::size_t i = 0; i < p.indices.size(); ++i) {
      auto dist = [&](const std::array<std::uint8_t, 3>& c) {
        int d = 0;
        for (int k = 0; k < 3; ++k) d += (im.rgb[i * 3 + k] - c[k]) * (im.rgb[i * 3 + k] - c[k]);
        return d;
      };
      int best = 1 << 30;
      for (const auto& c : p.colours) best = std::min(best, dist(c));
      wrong += dist(p.colours[p.indices[i]]) != best;
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(Lzw, TableFullClearCodesAndCodeSizeGrowth) {
  // Random indices fill the 4096-code table many times over.
  std::mt19937 rng(7);
  Image noisy{509, 311, std::vector<std::uint8_t>(509 * 311 * 3)};
  std::vector<std::array<std::uint8_t, 3>> colours(256);
  for (int i = 0; i < 256; ++i) colours[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)};
  for (std::size_t i = 0; i < 509u * 311u; ++i) {
    auto c = colours[rng() % 256];
    std::copy(c.begin(), c.end(), &noisy.rgb[i * 3]);
  }
  EXPECT_EQ(DecodeGif(imagelib::EncodeGif(noisy)).rgb, noisy.rgb);

  // Two colours: the smallest code size (2), growing to 12 over long runs.
  Image runs{2000, 40, std::vector<std::uint8_t>(2000 * 40 * 3, 0)};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 2000; ++x)
      if ((x / (1 + y % 5)) % 2) pictures::Set(runs, x, y, 255, 255, 255);
  EXPECT_EQ(DecodeGif(imagelib::EncodeGif(runs)).rgb, runs.rgb);

  // One colour only: every code extends the run.
  Image flat{1000, 1000, std::vector<std::uint8_t>(1000 * 1000 * 3, 77)};
  auto bytes = imagelib::EncodeGif(flat);
  EXPECT_LT(bytes.size(), 4000u);
  EXPECT_EQ(DecodeGif(bytes).rgb, flat.rgb);
}

TEST(ImageSize, APictureTooLargeForTheAddressSpaceIsRefused) {
  const std::uint64_t fourGiB = std::uint64_t{1} << 32;
  EXPECT_TRUE(imagelib::Addressable(1920, 1080, fourGiB));
  EXPECT_TRUE(imagelib::Addressable(7680, 4320, fourGiB));
  EXPECT_FALSE(imagelib::Addressable(20000, 20000, fourGiB));
  EXPECT_FALSE(imagelib::Addressable(2147483647, 2147483647));
  EXPECT_FALSE(imagelib::Addressable(0, 10));
  EXPECT_TRUE(imagelib::Addressable(65536, 65536));
}

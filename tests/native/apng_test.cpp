#include "imagelib/Apng.h"
#include "imagelib/GifAnimation.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gif_lib.h>

#include "decoders.h"

namespace {

imagelib::Image Solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  imagelib::Image image{w, h, {}};
  for (int i = 0; i < w * h; ++i) image.rgb.insert(image.rgb.end(), {r, g, b});
  return image;
}

void Set(imagelib::Image& image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
  p[0] = r, p[1] = g, p[2] = b;
}

struct Chunk {
  std::string type;
  std::vector<std::uint8_t> data;
};

std::uint32_t Get32(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& file) {
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t n = Get32(&file[at]);
    chunks.push_back({std::string(file.begin() + at + 4, file.begin() + at + 8),
                      std::vector<std::uint8_t>(file.begin() + at + 8, file.begin() + at + 8 + n)});
    at += 12 + n;
  }
  return chunks;
}

// An fdAT's rows back to RGB: inflated and unfiltered, as a decoder does.
std::vector<std::uint8_t> Rows(const std::vector<std::uint8_t>& zlibData, int w, int h) {
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(w * 3 + 1) * h);
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, zlibData.data(), zlibData.size()), Z_OK);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w * 3; ++i) {
      const int a = i >= 3 ? rgb[y * w * 3 + i - 3] : 0, b = y ? rgb[(y - 1) * w * 3 + i] : 0;
      const int c = i >= 3 && y ? rgb[(y - 1) * w * 3 + i - 3] : 0, p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const int predictors[5] = {0, a, b, (a + b) / 2, paeth};
      rgb[y * w * 3 + i] = static_cast<std::uint8_t>(raw[y * (w * 3 + 1) + 1 + i] + predictors[raw[y * (w * 3 + 1)]]);
    }
  return rgb;
}

}  // namespace

TEST(Animation, TheChangedRegionHoldsEveryPixelThatDiffers) {
  imagelib::Image a = Solid(4, 3, 10, 20, 30), b = a;
  EXPECT_TRUE(imagelib::ChangedRegion(a, b).Empty());
  Set(b, 1, 0, 0, 0, 0);
  Set(b, 2, 2, 0, 0, 0);
  const imagelib::Region r = imagelib::ChangedRegion(a, b);
  EXPECT_EQ((std::vector<int>{r.x, r.y, r.width, r.height}), (std::vector<int>{1, 0, 2, 3}));
}

TEST(Animation, ApngKeepsTheTimingAndOnlyTheChangedRectangles) {
  imagelib::Image f0 = Solid(6, 4, 200, 0, 0), f1 = f0;
  Set(f1, 2, 1, 0, 0, 255);
  imagelib::Image f3 = f1;
  Set(f3, 5, 3, 0, 255, 0);
  const auto file = imagelib::EncodeApng({{f0, 100}, {f1, 100}, {f1, 50}, {f3, 200}});
  const auto chunks = Chunks(file);
  std::vector<std::string> types;
  for (const Chunk& c : chunks) types.push_back(c.type);
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "acTL", "fcTL", "IDAT", "fcTL", "fdAT", "fcTL", "fdAT", "IEND"}));
  EXPECT_EQ(Get32(&chunks[1].data[0]), 3u);  // three frames: the same one twice is one, 150 ms long
  EXPECT_EQ(Get32(&chunks[1].data[4]), 0u);  // plays forever
  // fcTL: sequence, width, height, x, y, delay 16/16 bits, dispose, blend.
  const std::vector<std::uint8_t>& second = chunks[4].data;
  EXPECT_EQ((std::vector<std::uint32_t>{Get32(&second[0]), Get32(&second[4]), Get32(&second[8]), Get32(&second[12]),
                                        Get32(&second[16])}),
            (std::vector<std::uint32_t>{1, 1, 1, 2, 1}));
  EXPECT_EQ(Get32(&second[20]), (150u << 16) | 1000u);
  const std::vector<std::uint8_t>& third = chunks[6].data;
  EXPECT_EQ((std::vector<std::uint32_t>{Get32(&third[0]), Get32(&third[12]), Get32(&third[16])}),
            (std::vector<std::uint32_t>{3, 5, 3}));
  EXPECT_EQ(Get32(&chunks[7].data[0]), 4u);  // fdAT's sequence follows its fcTL
  // Every frame decodes to exactly the pixels given: the first by libpng,
  // which passes over the animation's chunks, the others from their rows.
  EXPECT_EQ(DecodePng(file).rgb, f0.rgb);
  const std::vector<std::uint8_t> blue{0, 0, 255}, green{0, 255, 0};
  EXPECT_EQ(Rows(std::vector<std::uint8_t>(chunks[5].data.begin() + 4, chunks[5].data.end()), 1, 1), blue);
  EXPECT_EQ(Rows(std::vector<std::uint8_t>(chunks[7].data.begin() + 4, chunks[7].data.end()), 1, 1), green);
}

TEST(Animation, AFrameOfOverAMinuteIsKeptInTenthsOfASecond) {
  const imagelib::Image a = Solid(2, 2, 1, 2, 3);
  const auto chunks = Chunks(imagelib::EncodeApng({{a, 90000}}));
  EXPECT_EQ(Get32(&chunks[2].data[20]), (900u << 16) | 10u);
  EXPECT_TRUE(imagelib::EncodeApng({}).empty());
  EXPECT_TRUE(imagelib::EncodeApng({{a, 10}, {Solid(3, 2, 0, 0, 0), 10}}).empty());
}

namespace {

// Every frame of a GIF as the screen shows it (drawn over the one before,
// transparent pixels left), with its delay in hundredths of a second.
std::vector<std::pair<std::vector<std::uint8_t>, int>> GifFrames(const std::vector<std::uint8_t>& bytes) {
  struct Reader {
    const std::vector<std::uint8_t>* data;
    std::size_t at;
  } reader{&bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, [](GifFileType* g, GifByteType* buf, int n) -> int {
    auto* r = static_cast<Reader*>(g->UserData);
    const int take = static_cast<int>(std::min<std::size_t>(n, r->data->size() - r->at));
    std::memcpy(buf, r->data->data() + r->at, take);
    r->at += take;
    return take;
  }, &error);
  EXPECT_NE(gif, nullptr);
  EXPECT_EQ(DGifSlurp(gif), GIF_OK);
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(gif->SWidth) * gif->SHeight * 3);
  std::vector<std::pair<std::vector<std::uint8_t>, int>> frames;
  for (int f = 0; f < gif->ImageCount; ++f) {
    const SavedImage& image = gif->SavedImages[f];
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, f, &control);
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[y * d.Width + x];
        if (index == control.TransparentColor) continue;
        const GifColorType& c = d.ColorMap->Colors[index];
        std::uint8_t* p = &canvas[((d.Top + y) * gif->SWidth + d.Left + x) * 3];
        p[0] = c.Red, p[1] = c.Green, p[2] = c.Blue;
      }
    frames.push_back({canvas, control.DelayTime});
  }
  DGifCloseFile(gif, &error);
  return frames;
}

}  // namespace

TEST(Animation, GifFramesShowExactlyWhatWasAddedAndTheTimeStaysTrue) {
  imagelib::Image f0 = Solid(6, 4, 200, 0, 0), f1 = f0, f2 = f0;
  Set(f1, 2, 1, 0, 0, 255);
  Set(f2, 5, 3, 0, 255, 0);  // (2, 1) back to red too
  imagelib::GifAnimationWriter writer;
  // 33 ms frames: 3.3 hundredths each, counted from the start.
  for (const auto* f : {&f0, &f1, &f1, &f2}) EXPECT_TRUE(writer.Add(*f, 33));
  const auto frames = GifFrames(writer.Finish());
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].first, f0.rgb);
  EXPECT_EQ(frames[1].first, f1.rgb);
  EXPECT_EQ(frames[2].first, f2.rgb);
  // 33, 66 (the same frame twice), 33 ms: ends at 3, 10 and 13 hundredths.
  EXPECT_EQ(frames[0].second, 3);
  EXPECT_EQ(frames[1].second, 7);
  EXPECT_EQ(frames[2].second, 3);
}

// A recording takes the compressed frames out as they come: head, what was
// taken and tail make the same file as a writer that kept everything.
template <class Writer>
std::vector<std::uint8_t> TakenAsTheyCome(const std::vector<imagelib::Image>& frames) {
  Writer writer;
  std::vector<std::uint8_t> taken;
  for (const auto& f : frames) {
    EXPECT_TRUE(writer.Add(f, 40));
    const auto part = writer.TakeWritten();
    taken.insert(taken.end(), part.begin(), part.end());
  }
  EXPECT_TRUE(writer.Close());
  const auto last = writer.TakeWritten();
  taken.insert(taken.end(), last.begin(), last.end());
  auto file = writer.Head();
  file.insert(file.end(), taken.begin(), taken.end());
  const auto tail = writer.Tail();
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

TEST(Animation, FramesTakenOutAsTheyComeMakeTheSameFile) {
  imagelib::Image f0 = Solid(5, 3, 10, 20, 30), f1 = f0;
  Set(f1, 4, 2, 255, 255, 255);
  const std::vector<imagelib::Image> frames{f0, f1, f1, f0};
  imagelib::ApngWriter apng;
  imagelib::GifAnimationWriter gif;
  for (const auto& f : frames) {
    apng.Add(f, 40);
    gif.Add(f, 40);
  }
  EXPECT_EQ(TakenAsTheyCome<imagelib::ApngWriter>(frames), apng.Finish());
  EXPECT_EQ(TakenAsTheyCome<imagelib::GifAnimationWriter>(frames), gif.Finish());
  EXPECT_FALSE(imagelib::ApngWriter().Close());  // nothing added, nothing to write
}

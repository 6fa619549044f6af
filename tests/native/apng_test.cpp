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
std::vector<std::uint8_t> Rows(const std::vector<std::uint8_t>& zlibData, int w, int h, int bpp = 3) {
  const int n = w * bpp;
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(n + 1) * h);
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, zlibData.data(), zlibData.size()), Z_OK);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(n) * h);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < n; ++i) {
      const int a = i >= bpp ? rgb[y * n + i - bpp] : 0, b = y ? rgb[(y - 1) * n + i] : 0;
      const int c = i >= bpp && y ? rgb[(y - 1) * n + i - bpp] : 0, p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const int predictors[5] = {0, a, b, (a + b) / 2, paeth};
      rgb[y * n + i] = static_cast<std::uint8_t>(raw[y * (n + 1) + 1 + i] + predictors[raw[y * (n + 1)]]);
    }
  return rgb;
}

// Every frame of an APNG as a viewer shows it: each fcTL's rectangle
// unfiltered from its IDAT or fdAT, replacing what was there or drawn over
// it (a transparent palette index leaves what was there), with its delay.
struct Shown {
  std::vector<std::uint8_t> rgb;
  std::uint32_t delayMs;
};
std::vector<Shown> Composed(const std::vector<std::uint8_t>& file) {
  const auto chunks = Chunks(file);
  const int w = static_cast<int>(Get32(&chunks[0].data[0])), h = static_cast<int>(Get32(&chunks[0].data[4]));
  const bool indexed = chunks[0].data[9] == 3;
  std::vector<std::uint8_t> palette, alpha, canvas(static_cast<std::size_t>(w) * h * 3);
  std::vector<Shown> shown;
  std::vector<std::uint8_t> control;
  for (const Chunk& c : chunks) {
    if (c.type == "PLTE") palette = c.data;
    if (c.type == "tRNS") alpha = c.data;
    if (c.type == "fcTL") control = c.data;
    if (c.type != "IDAT" && c.type != "fdAT") continue;
    const int fw = static_cast<int>(Get32(&control[4])), fh = static_cast<int>(Get32(&control[8]));
    const int fx = static_cast<int>(Get32(&control[12])), fy = static_cast<int>(Get32(&control[16]));
    EXPECT_EQ(control[24], 0);  // dispose: none
    const std::vector<std::uint8_t> z(c.data.begin() + (c.type == "fdAT" ? 4 : 0), c.data.end());
    // Indices unfiltered as one-byte "pixels".
    const std::vector<std::uint8_t> rows = indexed ? Rows(z, fw, fh, 1) : Rows(z, fw, fh);
    for (int y = 0; y < fh; ++y)
      for (int x = 0; x < fw; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * fw + x;
        const std::uint8_t* colour = indexed ? &palette[rows[i] * 3u] : &rows[i * 3];
        if (indexed && control[25] == 1 && rows[i] < alpha.size() && alpha[rows[i]] == 0) continue;
        std::memcpy(&canvas[(static_cast<std::size_t>(fy + y) * w + fx + x) * 3], colour, 3);
      }
    const std::uint32_t num = Get32(&control[20]) >> 16, den = Get32(&control[20]) & 0xFFFF;
    shown.push_back({canvas, num * 1000 / den});
  }
  return shown;
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
  // Three colours: indexed, and every frame a single pixel that replaces.
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "acTL", "PLTE", "fcTL", "IDAT", "fcTL", "fdAT", "fcTL", "fdAT",
                                             "IEND"}));
  EXPECT_EQ(chunks[0].data[8], 8);
  EXPECT_EQ(chunks[0].data[9], 3);
  EXPECT_EQ(chunks[2].data, (std::vector<std::uint8_t>{0, 0, 0, 200, 0, 0, 0, 0, 255, 0, 255, 0}));
  EXPECT_EQ(Get32(&chunks[1].data[0]), 3u);  // three frames: the same one twice is one, 150 ms long
  EXPECT_EQ(Get32(&chunks[1].data[4]), 0u);  // plays forever
  // fcTL: sequence, width, height, x, y, delay 16/16 bits, dispose, blend.
  const std::vector<std::uint8_t>& second = chunks[5].data;
  EXPECT_EQ((std::vector<std::uint32_t>{Get32(&second[0]), Get32(&second[4]), Get32(&second[8]), Get32(&second[12]),
                                        Get32(&second[16])}),
            (std::vector<std::uint32_t>{1, 1, 1, 2, 1}));
  EXPECT_EQ(Get32(&second[20]), (150u << 16) | 1000u);
  const std::vector<std::uint8_t>& third = chunks[7].data;
  EXPECT_EQ((std::vector<std::uint32_t>{Get32(&third[0]), Get32(&third[12]), Get32(&third[16])}),
            (std::vector<std::uint32_t>{3, 5, 3}));
  EXPECT_EQ(Get32(&chunks[8].data[0]), 4u);  // fdAT's sequence follows its fcTL
  // Every frame decodes to exactly the pixels given: the first by libpng,
  // which passes over the animation's chunks, all of them as a viewer shows them.
  EXPECT_EQ(DecodePng(file).rgb, f0.rgb);
  const auto shown = Composed(file);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].rgb, f0.rgb);
  EXPECT_EQ(shown[1].rgb, f1.rgb);
  EXPECT_EQ(shown[2].rgb, f3.rgb);
  EXPECT_EQ((std::vector<std::uint32_t>{shown[0].delayMs, shown[1].delayMs, shown[2].delayMs}),
            (std::vector<std::uint32_t>{100, 150, 200}));
}

namespace {

// 16 x 16 pixels of 256 colours (one more than a palette of ours holds),
// and the pattern's pixel `i` changed.
imagelib::Image ManyColours(int changed = -1) {
  imagelib::Image image{16, 16, {}};
  for (int i = 0; i < 256; ++i)
    image.rgb.insert(image.rgb.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i == changed ? 7 : 99),
                                       static_cast<std::uint8_t>(255 - i)});
  return image;
}

// A page of "text": black strokes on white, mostly unchanged from frame to frame.
imagelib::Image Page(int shift) {
  imagelib::Image image = Solid(64, 48, 255, 255, 255);
  for (int y = 4; y < 44; y += 6)
    for (int x = 2; x < 62; ++x)
      if ((x * 7 + y * 3 + (y == 22 ? shift : 0)) % 5 < 2) Set(image, x, y, 0, 0, 0);
  Set(image, 1, 1, 40, 90, 170);
  Set(image, 62, 46, 40, 90, 170);
  return image;
}

}  // namespace

TEST(Animation, AnApngOfMoreColoursThanAPaletteIsRgbAndExact) {
  const imagelib::Image a = ManyColours(), b = ManyColours(40);
  const auto file = imagelib::EncodeApng({{a, 100}, {b, 100}, {a, 100}});
  EXPECT_EQ(Chunks(file)[0].data[9], 2);
  const auto shown = Composed(file);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].rgb, a.rgb);
  EXPECT_EQ(shown[1].rgb, b.rgb);
  EXPECT_EQ(shown[2].rgb, a.rgb);
  // A 256th colour that comes later: the whole recording is RGB, and exact.
  const imagelib::Image page = Page(0);
  imagelib::Image colourful = page;
  for (int i = 0; i < 256; ++i) Set(colourful, i % 64, i / 64, static_cast<std::uint8_t>(i), 1, 2);
  const auto late = imagelib::EncodeApng({{page, 100}, {Page(1), 100}, {colourful, 100}});
  EXPECT_EQ(Chunks(late)[0].data[9], 2);
  const auto lateShown = Composed(late);
  ASSERT_EQ(lateShown.size(), 3u);
  EXPECT_EQ(lateShown[1].rgb, Page(1).rgb);
  EXPECT_EQ(lateShown[2].rgb, colourful.rgb);
}

TEST(Animation, AFrameThatChangesLittleOfItsRectangleIsDrawnOverWithTransparency) {
  // The changed rectangle spans the page, but only one row of it changes.
  imagelib::Image before = Page(0), after = Page(3);
  Set(after, 1, 1, 0, 0, 0);
  Set(after, 62, 46, 0, 0, 0);
  const auto file = imagelib::EncodeApng({{before, 100}, {after, 100}, {before, 100}});
  const auto chunks = Chunks(file);
  EXPECT_EQ(chunks[0].data[9], 3);
  bool transparency = false, over = false;
  for (const Chunk& c : chunks) {
    transparency = transparency || (c.type == "tRNS" && c.data == std::vector<std::uint8_t>{0});
    over = over || (c.type == "fcTL" && c.data[25] == 1);
  }
  EXPECT_TRUE(transparency && over);
  const auto shown = Composed(file);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].rgb, before.rgb);
  EXPECT_EQ(shown[1].rgb, after.rgb);
  EXPECT_EQ(shown[2].rgb, before.rgb);
  // Smaller than the same frames in RGB.
  imagelib::ApngWriter writer;
  for (const auto* f : {&before, &after, &before}) writer.Add(*f, 100);
  EXPECT_TRUE(writer.Close());
  EXPECT_LT(file.size(), writer.Head().size() + writer.TakeWritten().size());
}

TEST(Animation, AFrameOfOverAMinuteIsKeptInTenthsOfASecond) {
  const imagelib::Image a = Solid(2, 2, 1, 2, 3);
  const auto chunks = Chunks(imagelib::EncodeApng({{a, 90000}}));
  ASSERT_EQ(chunks[3].type, "fcTL");  // after the palette
  EXPECT_EQ(Get32(&chunks[3].data[20]), (900u << 16) | 10u);
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
  const std::vector<std::uint8_t>& body = writer.WholeBody() ? *writer.WholeBody() : taken;
  file.insert(file.end(), body.begin(), body.end());
  const auto tail = writer.Tail();
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

TEST(Animation, FramesTakenOutAsTheyComeMakeTheSameFile) {
  imagelib::Image f0 = Solid(5, 3, 10, 20, 30), f1 = f0;
  Set(f1, 4, 2, 255, 255, 255);
  for (const std::vector<imagelib::Image>& frames : {std::vector<imagelib::Image>{f0, f1, f1, f0},
                                                     std::vector<imagelib::Image>{ManyColours(), ManyColours(3)}}) {
    imagelib::ApngWriter apng;
    imagelib::GifAnimationWriter gif;
    for (const auto& f : frames) {
      apng.Add(f, 40);
      gif.Add(f, 40);
    }
    EXPECT_EQ(TakenAsTheyCome<imagelib::ApngWriter>(frames), apng.Finish());
    EXPECT_EQ(TakenAsTheyCome<imagelib::GifAnimationWriter>(frames), gif.Finish());
  }
  EXPECT_FALSE(imagelib::ApngWriter().Close());  // nothing added, nothing to write
}

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

std::vector<Chunk> Only(const std::vector<Chunk>& chunks, const std::string& type) {
  std::vector<Chunk> found;
  for (const Chunk& c : chunks)
    if (c.type == type) found.push_back(c);
  return found;
}

struct Control {
  std::uint32_t w, h, x, y, delayMs;
  int dispose, blend;
};

Control ControlOf(const Chunk& fctl) {
  const std::uint8_t* d = fctl.data.data();
  const std::uint32_t num = std::uint32_t(d[20]) << 8 | d[21], den = std::uint32_t(d[22]) << 8 | d[23];
  return {Get32(d + 4), Get32(d + 8), Get32(d + 12), Get32(d + 16), num * 1000 / den, d[24], d[25]};
}

// An APNG played as a viewer plays it, written from the format's rules and
// not from the writer: every frame's rows inflated and unfiltered, indices
// looked up in PLTE and tRNS, drawn over the canvas or replacing it, and
// the canvas left as each frame's dispose op says. Each picture shown, RGB,
// with its time.
struct Played {
  int bits = 0, colourType = 0;
  std::vector<Control> controls;
  std::vector<std::pair<std::vector<std::uint8_t>, std::uint32_t>> frames;
};

std::vector<std::uint8_t> Unfiltered(const std::vector<std::uint8_t>& zlibData, std::size_t stride, int h, int bpp) {
  std::vector<std::uint8_t> raw((stride + 1) * h), out(stride * h);
  uLongf size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &size, zlibData.data(), zlibData.size()), Z_OK);
  EXPECT_EQ(size, raw.size());
  for (int y = 0; y < h; ++y)
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= std::size_t(bpp) ? out[y * stride + i - bpp] : 0, b = y ? out[(y - 1) * stride + i] : 0;
      const int c = i >= std::size_t(bpp) && y ? out[(y - 1) * stride + i - bpp] : 0, p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const int predictors[5] = {0, a, b, (a + b) / 2, paeth};
      out[y * stride + i] = static_cast<std::uint8_t>(raw[y * (stride + 1) + 1 + i] + predictors[raw[y * (stride + 1)]]);
    }
  return out;
}

Played Play(const std::vector<std::uint8_t>& file) {
  Played played;
  const auto chunks = Chunks(file);
  const Chunk& ihdr = chunks.at(0);
  const int width = static_cast<int>(Get32(&ihdr.data[0])), height = static_cast<int>(Get32(&ihdr.data[4]));
  played.bits = ihdr.data[8];
  played.colourType = ihdr.data[9];
  const auto plte = Only(chunks, "PLTE"), trns = Only(chunks, "tRNS");
  // RGBA canvas, see-through black at first.
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(width) * height * 4, 0);
  for (std::size_t k = 0; k < chunks.size(); ++k) {
    if (chunks[k].type != "fcTL") continue;
    const Control f = ControlOf(chunks[k]);
    played.controls.push_back(f);
    const Chunk& rows = chunks.at(k + 1);
    const bool idat = rows.type == "IDAT";
    const std::vector<std::uint8_t> zdata(rows.data.begin() + (idat ? 0 : 4), rows.data.end());
    const bool indexed = played.colourType == 3;
    const std::size_t stride = indexed ? (f.w * played.bits + 7) / 8 : f.w * 3;
    const auto bytes = Unfiltered(zdata, stride, static_cast<int>(f.h), indexed ? 1 : 3);
    const std::vector<std::uint8_t> before = canvas;
    for (std::uint32_t y = 0; y < f.h; ++y)
      for (std::uint32_t x = 0; x < f.w; ++x) {
        std::uint8_t rgba[4] = {0, 0, 0, 255};
        if (indexed) {
          const std::size_t bit = x * played.bits;
          const int index = bytes[y * stride + bit / 8] >> (8 - played.bits - bit % 8) & ((1 << played.bits) - 1);
          EXPECT_LT(std::size_t(index) * 3, plte.at(0).data.size());
          std::memcpy(rgba, &plte[0].data[index * 3], 3);
          if (!trns.empty() && std::size_t(index) < trns[0].data.size()) rgba[3] = trns[0].data[index];
        } else {
          std::memcpy(rgba, &bytes[y * stride + x * 3], 3);
        }
        std::uint8_t* p = &canvas[((f.y + y) * width + f.x + x) * 4];
        if (f.blend == 0 || rgba[3] == 255) std::memcpy(p, rgba, 4);
        else EXPECT_EQ(rgba[3], 0);  // only fully see-through pixels are written
      }
    std::vector<std::uint8_t> shown;
    for (std::size_t i = 0; i < canvas.size(); i += 4) {
      EXPECT_EQ(canvas[i + 3], 255) << "a see-through pixel shown";
      shown.insert(shown.end(), canvas.begin() + i, canvas.begin() + i + 3);
    }
    played.frames.push_back({shown, f.delayMs});
    if (f.dispose == 2) canvas = before;
    EXPECT_NE(f.dispose, 1);
  }
  EXPECT_EQ(Get32(&Only(chunks, "acTL").at(0).data[0]), played.frames.size());
  return played;
}

std::vector<std::pair<std::vector<std::uint8_t>, std::uint32_t>> Expected(
    std::initializer_list<std::pair<const imagelib::Image*, std::uint32_t>> frames) {
  std::vector<std::pair<std::vector<std::uint8_t>, std::uint32_t>> out;
  for (const auto& [image, ms] : frames) out.push_back({image->rgb, ms});
  return out;
}

// A picture of `colours` colours, each pixel another of them.
imagelib::Image Many(int w, int h, int colours, int seed = 0) {
  imagelib::Image image{w, h, {}};
  for (int i = 0; i < w * h; ++i) {
    const int c = (i * 7 + seed) % colours;
    image.rgb.insert(image.rgb.end(), {std::uint8_t(c), std::uint8_t(c >> 8 | 0x40), std::uint8_t(255 - c)});
  }
  return image;
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
  // Three colours and the see-through one: a palette of two bits a pixel.
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "acTL", "PLTE", "tRNS", "fcTL", "IDAT", "fcTL", "fdAT", "fcTL",
                                             "fdAT", "IEND"}));
  EXPECT_EQ(Get32(&chunks[1].data[4]), 0u);  // plays forever
  EXPECT_EQ(Get32(&chunks[6].data[0]), 1u);  // sequence numbers: fcTL 1, fdAT 2, fcTL 3, fdAT 4
  EXPECT_EQ(Get32(&chunks[7].data[0]), 2u);
  EXPECT_EQ(Get32(&chunks[9].data[0]), 4u);
  // Every frame shows exactly the pixels given, for its time: the same one
  // twice is one frame of 150 ms. The first is a plain PNG for libpng.
  const Played played = Play(file);
  EXPECT_EQ(played.bits, 2);
  EXPECT_EQ(played.frames, Expected({{&f0, 100}, {&f1, 150}, {&f3, 200}}));
  EXPECT_EQ(DecodePng(file).rgb, f0.rgb);
  // Only the rows that changed, from the left edge to the change: ffmpeg
  // reads rows packed narrower than a byte only from there.
  const Control second = played.controls.at(1), third = played.controls.at(2);
  EXPECT_EQ((std::vector<std::uint32_t>{second.w, second.h, second.x, second.y}), (std::vector<std::uint32_t>{3, 1, 0, 1}));
  EXPECT_EQ((std::vector<std::uint32_t>{third.w, third.h, third.x, third.y}), (std::vector<std::uint32_t>{6, 1, 0, 3}));
}

TEST(Animation, MoreColoursThanAPaletteHoldsStayRgb) {
  // 300 colours from the start, or 200 at first and 100 more later.
  const imagelib::Image many = Many(20, 15, 300), fewer = Many(20, 15, 200);
  imagelib::Image moved = many;
  Set(moved, 3, 3, 1, 2, 3);
  const Played fromTheStart = Play(imagelib::EncodeApng({{many, 40}, {moved, 40}}));
  EXPECT_EQ(fromTheStart.colourType, 2);
  EXPECT_EQ(fromTheStart.frames, Expected({{&many, 40}, {&moved, 40}}));
  const Played later = Play(imagelib::EncodeApng({{fewer, 40}, {many, 40}, {moved, 40}}));
  EXPECT_EQ(later.colourType, 2);
  EXPECT_EQ(later.bits, 8);
  EXPECT_EQ(later.frames, Expected({{&fewer, 40}, {&many, 40}, {&moved, 40}}));
}

TEST(Animation, ColoursThatComeLaterWidenTheEarlierFrames) {
  // Two colours and the see-through one (two bits a pixel), then twenty:
  // every frame at eight bits in the end.
  imagelib::Image two = Solid(120, 60, 255, 255, 255);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if ((x * y + x / 3) % 5 == 0) Set(two, x, y, 0, 0, 0);
  imagelib::Image twenty = two;
  for (int x = 0; x < 20; ++x) Set(twenty, x, 9, std::uint8_t(10 * x), 0, 99);
  imagelib::Image last = twenty;
  Set(last, 119, 0, 0, 0, 0);
  const Played played = Play(imagelib::EncodeApng({{two, 10}, {twenty, 20}, {last, 30}}));
  EXPECT_EQ(played.colourType, 3);
  EXPECT_EQ(played.bits, 8);
  EXPECT_EQ(played.frames, Expected({{&two, 10}, {&twenty, 20}, {&last, 30}}));
}

TEST(Animation, AMenuThatClosesAgainGivesTheCanvasBack) {
  const imagelib::Image base = Solid(20, 20, 250, 250, 250);
  imagelib::Image menu = base, after = base;
  for (int y = 2; y < 12; ++y)
    for (int x = 2; x < 12; ++x) Set(menu, x, y, 30, 30, 120);
  Set(after, 18, 18, 0, 0, 0);
  const Played played = Play(imagelib::EncodeApng({{base, 100}, {menu, 100}, {after, 100}}));
  EXPECT_EQ(played.frames, Expected({{&base, 100}, {&menu, 100}, {&after, 100}}));
  // The menu's frame leaves the canvas as before it; the next frame is then
  // only the one pixel that differs from that, not 17 x 17 from the menu on.
  EXPECT_EQ(played.controls.at(1).dispose, 2);
  EXPECT_EQ(played.controls.at(0).dispose, 0);  // nothing before the first
  const Control third = played.controls.at(2);
  EXPECT_EQ(played.bits, 2);  // three colours and the see-through one: from the left edge
  EXPECT_EQ((std::vector<std::uint32_t>{third.w, third.h, third.x, third.y}), (std::vector<std::uint32_t>{19, 1, 0, 18}));
  // Back to exactly what was before the menu: one pixel drawn again.
  const Played back = Play(imagelib::EncodeApng({{after, 100}, {menu, 100}, {after, 100}}));
  EXPECT_EQ(back.frames, Expected({{&after, 100}, {&menu, 100}, {&after, 100}}));
  EXPECT_EQ(back.controls.at(2).h, 1u);
}

TEST(Animation, AFewChangesFarApartAreDrawnOverTheCanvas) {
  // Two pixels at opposite corners of a busy picture: the rectangle is the
  // whole picture, but only two of its pixels are not see-through.
  const imagelib::Image busy = Many(64, 48, 200);
  imagelib::Image changed = busy;
  Set(changed, 0, 0, 1, 1, 1);
  Set(changed, 63, 47, 2, 2, 2);
  const Played played = Play(imagelib::EncodeApng({{busy, 100}, {changed, 100}}));
  EXPECT_EQ(played.frames, Expected({{&busy, 100}, {&changed, 100}}));
  EXPECT_EQ(played.controls.at(1).blend, 1);
  EXPECT_EQ(played.controls.at(1).w, 64u);
  // A text that scrolls changes most pixels: replaced, not drawn over.
  const imagelib::Image scrolled = Many(64, 48, 200, 3);
  EXPECT_EQ(Play(imagelib::EncodeApng({{busy, 100}, {scrolled, 100}})).controls.at(1).blend, 0);
}

TEST(Animation, AFrameOfOverAMinuteIsKeptInTenthsOfASecond) {
  const imagelib::Image a = Solid(2, 2, 1, 2, 3);
  const auto chunks = Chunks(imagelib::EncodeApng({{a, 90000}}));
  EXPECT_EQ(Get32(&Only(chunks, "fcTL").at(0).data[20]), (900u << 16) | 10u);
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
  // The smaller form the writer kept takes the place of what was taken.
  const std::vector<std::uint8_t>& body = writer.KeptBody() ? *writer.KeptBody() : taken;
  file.insert(file.end(), body.begin(), body.end());
  const auto tail = writer.Tail();
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

TEST(Animation, FramesTakenOutAsTheyComeMakeTheSameFile) {
  imagelib::Image f0 = Solid(5, 3, 10, 20, 30), f1 = f0;
  Set(f1, 4, 2, 255, 255, 255);
  imagelib::Image m0 = Many(20, 15, 300), m1 = m0;
  Set(m1, 4, 2, 255, 255, 255);
  // A palette (kept by the writer) and RGB (taken out as it comes).
  for (const std::vector<imagelib::Image>& frames :
       {std::vector<imagelib::Image>{f0, f1, f1, f0}, std::vector<imagelib::Image>{m0, m1, m0}}) {
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

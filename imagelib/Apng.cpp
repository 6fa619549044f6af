#include "imagelib/Apng.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "imagelib/Png.h"

namespace imagelib {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// A frame's time as the fraction the format keeps: milliseconds while they
// fit 16 bits, tenths of a second beyond (a frame of over a minute).
void PutDelay(std::vector<std::uint8_t>& out, std::uint32_t ms) {
  if (ms <= 0xFFFF) {
    Put16(out, ms);
    Put16(out, 1000);
  } else {
    Put16(out, std::min<std::uint32_t>((ms + 50) / 100, 0xFFFF));
    Put16(out, 10);
  }
}

// The largest indexed recording kept in memory: one that packs worse is
// written as RGB, so that memory stays flat however long it runs.
constexpr std::size_t kIndexedLimit = 16u << 20;

void FrameControl(std::vector<std::uint8_t>& out, std::uint32_t& sequence, const Region& r, std::uint32_t ms,
                  bool over = false) {
  std::vector<std::uint8_t> fctl;
  Put32(fctl, sequence++);
  Put32(fctl, static_cast<std::uint32_t>(r.width));
  Put32(fctl, static_cast<std::uint32_t>(r.height));
  Put32(fctl, static_cast<std::uint32_t>(r.x));
  Put32(fctl, static_cast<std::uint32_t>(r.y));
  PutDelay(fctl, ms);
  fctl.push_back(0);  // dispose: none, the next frame draws over this one
  // Blend: source, the rectangle replaces what was there; or over, where its
  // transparent pixels leave what was there.
  fctl.push_back(over ? 1 : 0);
  AppendChunk(out, "fcTL", fctl);
}

// A frame's data after its fcTL: the first as IDAT, the others as fdAT
// with their sequence number.
void FrameData(std::vector<std::uint8_t>& out, std::uint32_t frame, std::uint32_t& sequence,
               std::vector<std::uint8_t>& data) {
  if (frame == 0) return AppendChunk(out, "IDAT", data);
  const std::uint32_t n = sequence++;
  data.insert(data.begin(), {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                             static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
  AppendChunk(out, "fdAT", data);
}

std::uint32_t PixelAt(const Image& image, int x, int y) {
  const std::uint8_t* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
  return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}

}  // namespace

bool ApngWriter::Add(const Image& image, std::uint32_t durationMs) {
  if (image.width <= 0 || image.height <= 0) return false;
  if (!started_) {
    started_ = true;
    region_ = {0, 0, image.width, image.height};
    indexed_.Add(image, nullptr, region_, durationMs);
    data_ = DeflatedRgb(image);
    durationMs_ = durationMs;
    last_ = image;
    return true;
  }
  if (image.width != last_.width || image.height != last_.height) return false;
  const Region changed = ChangedRegion(last_, image);
  if (changed.Empty()) {
    durationMs_ += durationMs;  // the same picture, shown longer
    indexed_.AddTime(durationMs);
    return true;
  }
  Flush();
  indexed_.Add(image, &last_, changed, durationMs);
  region_ = changed;
  data_ = DeflatedRgb(Cut(image, changed));
  durationMs_ = durationMs;
  last_ = image;
  return true;
}

void ApngWriter::Flush() {
  FrameControl(body_, sequence_, region_, durationMs_);
  FrameData(body_, frames_++, sequence_, data_);
  data_.clear();
}

bool ApngWriter::Close() {
  if (!data_.empty()) Flush();  // a second call changes nothing
  indexed_.Close();
  return started_;
}

std::vector<std::uint8_t> ApngWriter::Head() const {
  if (indexed_.Alive()) return indexed_.Head(last_.width, last_.height, frames_);
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr, actl;
  Put32(ihdr, static_cast<std::uint32_t>(last_.width));
  Put32(ihdr, static_cast<std::uint32_t>(last_.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit truecolour, no interlace
  AppendChunk(out, "IHDR", ihdr);
  Put32(actl, frames_);
  Put32(actl, 0);  // plays forever
  AppendChunk(out, "acTL", actl);
  return out;
}

std::vector<std::uint8_t> ApngWriter::Tail() const {
  std::vector<std::uint8_t> out;
  AppendChunk(out, "IEND", {});
  return out;
}

void IndexedApng::Add(const Image& image, const Image* previous, const Region& region, std::uint32_t durationMs) {
  if (!alive_) return;
  std::vector<std::uint8_t> indices;
  if (!Index(image, region, indices)) return GiveUp();
  if (!data_.empty()) Flush();
  region_ = region;
  durationMs_ = durationMs;
  data_ = DeflatedIndexed(indices, region.width, region.height);
  over_ = false;
  if (!previous) return;
  // The same rectangle drawn over the frame before, its unchanged pixels
  // transparent: long runs of one index where little changed.
  bool anySame = false;
  for (int y = 0; y < region.height; ++y)
    for (int x = 0; x < region.width; ++x)
      if (PixelAt(image, region.x + x, region.y + y) == PixelAt(*previous, region.x + x, region.y + y)) {
        indices[static_cast<std::size_t>(y) * region.width + x] = 0;
        anySame = true;
      }
  if (!anySame) return;
  std::vector<std::uint8_t> over = DeflatedIndexed(indices, region.width, region.height);
  if (over.size() >= data_.size()) return;
  data_ = std::move(over);
  over_ = transparent_ = true;
}

bool IndexedApng::Index(const Image& image, const Region& region, std::vector<std::uint8_t>& indices) {
  indices.resize(static_cast<std::size_t>(region.width) * region.height);
  std::uint32_t last = ~0u;
  std::uint8_t lastIndex = 0;
  for (int y = 0; y < region.height; ++y)
    for (int x = 0; x < region.width; ++x) {
      const std::uint32_t colour = PixelAt(image, region.x + x, region.y + y);
      if (colour != last) {
        const auto found = index_.find(colour);
        if (found != index_.end()) {
          lastIndex = found->second;
        } else {
          if (index_.size() == 255) return false;
          lastIndex = static_cast<std::uint8_t>(index_.size() + 1);
          index_.emplace(colour, lastIndex);
          palette_.insert(palette_.end(), {static_cast<std::uint8_t>(colour >> 16),
                                           static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour)});
        }
        last = colour;
      }
      indices[static_cast<std::size_t>(y) * region.width + x] = lastIndex;
    }
  return true;
}

void IndexedApng::Flush() {
  FrameControl(body_, sequence_, region_, durationMs_, over_);
  FrameData(body_, frames_++, sequence_, data_);
  data_.clear();
  if (body_.size() > kIndexedLimit) GiveUp();
}

void IndexedApng::Close() {
  if (alive_ && !data_.empty()) Flush();
}

void IndexedApng::GiveUp() {
  alive_ = false;
  index_ = {};
  palette_ = {};
  body_ = {};
  data_ = {};
}

std::vector<std::uint8_t> IndexedApng::Head(int width, int height, std::uint32_t frames) const {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr, actl;
  Put32(ihdr, static_cast<std::uint32_t>(width));
  Put32(ihdr, static_cast<std::uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0});  // 8-bit palette indices, no interlace
  AppendChunk(out, "IHDR", ihdr);
  Put32(actl, frames);
  Put32(actl, 0);  // plays forever
  AppendChunk(out, "acTL", actl);
  AppendChunk(out, "PLTE", palette_);
  // Only index 0 is transparent, and only when a frame uses it.
  if (transparent_) AppendChunk(out, "tRNS", {0});
  return out;
}

std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames) {
  ApngWriter writer;
  for (const TimedFrame& f : frames)
    if (!writer.Add(f.image, f.durationMs)) return {};
  return writer.Finish();
}

}  // namespace imagelib

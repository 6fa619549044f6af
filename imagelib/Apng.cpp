#include "imagelib/Apng.h"

#include <algorithm>
#include <cstring>

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

void FrameControl(std::vector<std::uint8_t>& out, std::uint32_t& sequence, const Region& r, std::uint32_t ms) {
  std::vector<std::uint8_t> fctl;
  Put32(fctl, sequence++);
  Put32(fctl, static_cast<std::uint32_t>(r.width));
  Put32(fctl, static_cast<std::uint32_t>(r.height));
  Put32(fctl, static_cast<std::uint32_t>(r.x));
  Put32(fctl, static_cast<std::uint32_t>(r.y));
  PutDelay(fctl, ms);
  fctl.push_back(0);  // dispose: none, the next frame draws over this one
  fctl.push_back(0);  // blend: source, the rectangle replaces what was there
  AppendChunk(out, "fcTL", fctl);
}

}  // namespace

Region ChangedRegion(const Image& a, const Image& b) {
  int left = a.width, top = a.height, right = -1, bottom = -1;
  for (int y = 0; y < a.height; ++y) {
    const std::uint8_t* ra = a.Pixel(0, y);
    const std::uint8_t* rb = b.Pixel(0, y);
    if (std::memcmp(ra, rb, static_cast<std::size_t>(a.width) * 3) == 0) continue;
    top = std::min(top, y);
    bottom = y;
    for (int x = 0; x < a.width; ++x)
      if (std::memcmp(ra + x * 3, rb + x * 3, 3) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

Image Cut(const Image& image, const Region& r) {
  Image part{r.width, r.height, std::vector<std::uint8_t>(static_cast<std::size_t>(r.width) * r.height * 3)};
  for (int y = 0; y < r.height; ++y)
    std::memcpy(&part.rgb[static_cast<std::size_t>(y) * r.width * 3], image.Pixel(r.x, r.y + y),
                static_cast<std::size_t>(r.width) * 3);
  return part;
}

bool ApngWriter::Add(const Image& image, std::uint32_t durationMs) {
  if (image.width <= 0 || image.height <= 0) return false;
  if (!started_) {
    started_ = true;
    region_ = {0, 0, image.width, image.height};
    data_ = DeflatedRgb(image);
    durationMs_ = durationMs;
    last_ = image;
    return true;
  }
  if (image.width != last_.width || image.height != last_.height) return false;
  const Region changed = ChangedRegion(last_, image);
  if (changed.Empty()) {
    durationMs_ += durationMs;  // the same picture, shown longer
    return true;
  }
  Flush();
  region_ = changed;
  data_ = DeflatedRgb(Cut(image, changed));
  durationMs_ = durationMs;
  last_ = image;
  return true;
}

void ApngWriter::Flush() {
  FrameControl(body_, sequence_, region_, durationMs_);
  if (frames_++ == 0) {
    AppendChunk(body_, "IDAT", data_);
  } else {
    // The sequence number, then the rows as IDAT would hold them.
    const std::uint32_t n = sequence_++;
    data_.insert(data_.begin(), {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                                 static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    AppendChunk(body_, "fdAT", data_);
  }
  data_.clear();
}

std::vector<std::uint8_t> ApngWriter::Finish() {
  if (!started_) return {};
  Flush();
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr, actl;
  Put32(ihdr, static_cast<std::uint32_t>(last_.width));
  Put32(ihdr, static_cast<std::uint32_t>(last_.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit truecolour, no interlace
  AppendChunk(out, "IHDR", ihdr);
  Put32(actl, frames_);
  Put32(actl, 0);  // plays forever
  AppendChunk(out, "acTL", actl);
  out.insert(out.end(), body_.begin(), body_.end());
  AppendChunk(out, "IEND", {});
  return out;
}

std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames) {
  ApngWriter writer;
  for (const TimedFrame& f : frames)
    if (!writer.Add(f.image, f.durationMs)) return {};
  return writer.Finish();
}

}  // namespace imagelib

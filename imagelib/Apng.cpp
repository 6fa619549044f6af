#include "imagelib/Apng.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "imagelib/Gif.h"
#include "imagelib/Png.h"

namespace imagelib {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

std::vector<std::uint8_t> Whole(std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& body,
                                const std::vector<std::uint8_t>& tail) {
  head.insert(head.end(), body.begin(), body.end());
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
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

bool ApngWriter::Close() {
  if (!data_.empty()) Flush();  // a second call changes nothing
  return started_;
}

std::vector<std::uint8_t> ApngWriter::Head() const {
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

std::vector<std::uint8_t> ApngWriter::TakeWritten() { return std::exchange(body_, {}); }

std::vector<std::uint8_t> ApngWriter::Finish() { return Close() ? Whole(Head(), body_, Tail()) : std::vector<std::uint8_t>(); }

std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames) {
  ApngWriter writer;
  for (const TimedFrame& f : frames)
    if (!writer.Add(f.image, f.durationMs)) return {};
  return writer.Finish();
}

namespace {

void Put16Le(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// The image descriptor, its own palette and the LZW data of `indices` over
// `r`; `transparent` is the index of the pixels that did not change.
std::vector<std::uint8_t> GifImage(const Region& r, const Palette& palette, const std::vector<std::uint8_t>& indices,
                                   int transparent) {
  const std::size_t used = palette.colours.size() + (transparent >= 0 ? 1 : 0);
  int bits = 1;
  while ((1u << bits) < used) ++bits;
  std::vector<std::uint8_t> out{0x2C};
  Put16Le(out, static_cast<std::uint32_t>(r.x));
  Put16Le(out, static_cast<std::uint32_t>(r.y));
  Put16Le(out, static_cast<std::uint32_t>(r.width));
  Put16Le(out, static_cast<std::uint32_t>(r.height));
  out.push_back(static_cast<std::uint8_t>(0x80 | (bits - 1)));  // a palette of its own
  for (std::size_t i = 0; i < (1u << bits); ++i) {
    const auto c = i < palette.colours.size() ? palette.colours[i] : std::array<std::uint8_t, 3>{0, 0, 0};
    out.insert(out.end(), c.begin(), c.end());
  }
  const int minCodeSize = std::max(2, bits);
  out.push_back(static_cast<std::uint8_t>(minCodeSize));
  const std::vector<std::uint8_t> data = LzwEncode(indices, minCodeSize);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t len = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(len));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + len));
  }
  out.push_back(0);
  return out;
}

// The pixels of `r` in `now` that differ from `before` (all of them without
// a `before`), quantized; the others transparent.
std::vector<std::uint8_t> ChangedPixels(const Image* before, const Image& now, const Region& r) {
  std::vector<bool> changed(static_cast<std::size_t>(r.width) * r.height);
  Image colours{0, 1, {}};
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x) {
      const std::uint8_t* p = now.Pixel(r.x + x, r.y + y);
      if (before && std::memcmp(p, before->Pixel(r.x + x, r.y + y), 3) == 0) continue;
      changed[static_cast<std::size_t>(y) * r.width + x] = true;
      colours.rgb.insert(colours.rgb.end(), p, p + 3);
      ++colours.width;
    }
  // One slot stays free for the transparent index.
  const Palette palette = Quantize(colours, before ? 255 : 256);
  const int transparent = before ? static_cast<int>(palette.colours.size()) : -1;
  std::vector<std::uint8_t> indices(changed.size(), static_cast<std::uint8_t>(std::max(transparent, 0)));
  for (std::size_t i = 0, k = 0; i < changed.size(); ++i)
    if (changed[i]) indices[i] = palette.indices[k++];
  std::vector<std::uint8_t> gce{0x21, 0xF9, 0x04, static_cast<std::uint8_t>(before ? 0x05 : 0x04), 0, 0,
                                static_cast<std::uint8_t>(std::max(transparent, 0)), 0};
  std::vector<std::uint8_t> image = GifImage(r, palette, indices, transparent);
  gce.insert(gce.end(), image.begin(), image.end());
  return gce;  // the delay (bytes 4 and 5) is filled in when it is known
}

}  // namespace

bool GifAnimationWriter::Add(const Image& image, std::uint32_t durationMs) {
  if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535) return false;
  if (started_ && (image.width != last_.width || image.height != last_.height)) return false;
  const Region changed = started_ ? ChangedRegion(last_, image) : Region{0, 0, image.width, image.height};
  if (started_ && changed.Empty()) {
    durationMs_ += durationMs;
    return true;
  }
  if (started_) Flush();
  frame_ = ChangedPixels(started_ ? &last_ : nullptr, image, changed);
  durationMs_ = durationMs;
  last_ = image;
  started_ = true;
  return true;
}

void GifAnimationWriter::Flush() {
  // Counted from the start, so that rounding never adds up.
  shownMs_ += durationMs_;
  const std::uint64_t endCs = (shownMs_ + 5) / 10;
  const auto delay = static_cast<std::uint32_t>(std::min<std::uint64_t>(endCs - shownCs_, 0xFFFF));
  shownCs_ += delay;
  frame_[4] = static_cast<std::uint8_t>(delay);
  frame_[5] = static_cast<std::uint8_t>(delay >> 8);
  body_.insert(body_.end(), frame_.begin(), frame_.end());
  frame_.clear();
}

bool GifAnimationWriter::Close() {
  if (!frame_.empty()) Flush();  // a second call changes nothing
  return started_;
}

std::vector<std::uint8_t> GifAnimationWriter::Head() const {
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16Le(out, static_cast<std::uint32_t>(last_.width));
  Put16Le(out, static_cast<std::uint32_t>(last_.height));
  out.insert(out.end(), {0x70, 0, 0});  // no global palette
  // Loops forever.
  const std::uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0};
  out.insert(out.end(), std::begin(loop), std::end(loop));
  return out;
}

std::vector<std::uint8_t> GifAnimationWriter::Tail() const { return {0x3B}; }

std::vector<std::uint8_t> GifAnimationWriter::TakeWritten() { return std::exchange(body_, {}); }

std::vector<std::uint8_t> GifAnimationWriter::Finish() {
  return Close() ? Whole(Head(), body_, Tail()) : std::vector<std::uint8_t>();
}

}  // namespace imagelib

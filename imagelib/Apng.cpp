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

std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames) {
  ApngWriter writer;
  for (const TimedFrame& f : frames)
    if (!writer.Add(f.image, f.durationMs)) return {};
  return writer.Finish();
}

}  // namespace imagelib

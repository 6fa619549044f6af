#include "imagelib/GifAnimation.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "imagelib/Gif.h"

namespace imagelib {
namespace {

// The image descriptor, its own palette and the LZW data of `indices` over
// `r`; `transparent` is the index of the pixels that did not change.
std::vector<std::uint8_t> GifImage(const Region& r, const Palette& palette, const std::vector<std::uint8_t>& indices,
                                   int transparent) {
  const int bits = TableBits(palette.colours.size() + (transparent >= 0 ? 1 : 0));
  std::vector<std::uint8_t> out;
  PutImageDescriptor(out, r.x, r.y, r.width, r.height, static_cast<std::uint8_t>(0x80 | (bits - 1)));
  PutColourTable(out, palette.colours, bits);
  PutImageData(out, indices, bits);
  return out;
}

// The frame's graphic control and image blocks: the pixels of `r` in `now`
// that differ from `before` (all of them without a `before`), quantized;
// the others transparent.
std::vector<std::uint8_t> EncodedChangedFrame(const Image* before, const Image& now, const Region& r) {
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
  frame_ = EncodedChangedFrame(started_ ? &last_ : nullptr, image, changed);
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
  PutLe16(out, static_cast<std::uint32_t>(last_.width));
  PutLe16(out, static_cast<std::uint32_t>(last_.height));
  out.insert(out.end(), {0x70, 0, 0});  // no global palette
  // Loops forever.
  const std::uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0};
  out.insert(out.end(), std::begin(loop), std::end(loop));
  return out;
}

std::vector<std::uint8_t> GifAnimationWriter::Tail() const { return {0x3B}; }

}  // namespace imagelib

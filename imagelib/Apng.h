// APNG files for a recording of the frame, lossless, that keep the real
// timing. Pure C++.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "imagelib/Animation.h"

namespace imagelib {

// The frames of an APNG with a palette, for as long as they hold at most
// 255 colours (index 0 is transparent), in memory up to a limit. Each frame
// after the first either replaces its rectangle or is drawn over the one
// before with its unchanged pixels transparent, whichever packs smaller.
class IndexedApng {
 public:
  // False once it has given up (too many colours, or too large).
  bool Alive() const { return alive_; }
  // `region` of `image` differs from `previous` (null for the first frame,
  // whose region is the whole picture).
  void Add(const Image& image, const Image* previous, const Region& region, std::uint32_t durationMs);
  void AddTime(std::uint32_t durationMs) { durationMs_ += durationMs; }
  void Close();
  // IHDR, acTL, PLTE and tRNS; after Close.
  std::vector<std::uint8_t> Head(int width, int height, std::uint32_t frames) const;
  const std::vector<std::uint8_t>& Body() const { return body_; }

 private:
  // The palette indices of `region` of `image`; false when a 256th colour came.
  bool Index(const Image& image, const Region& region, std::vector<std::uint8_t>& indices);
  void Flush();
  void GiveUp();

  bool alive_ = true, transparent_ = false;
  std::unordered_map<std::uint32_t, std::uint8_t> index_;
  std::vector<std::uint8_t> palette_{0, 0, 0};  // index 0 stands for "as before"
  std::vector<std::uint8_t> body_, data_;
  Region region_;
  bool over_ = false;  // the frame waiting is drawn over the one before
  std::uint32_t durationMs_ = 0, frames_ = 0, sequence_ = 0;
};

// An APNG that decodes to exactly the frames added: the first whole, each
// later one only the rectangle in which it differs from the one before.
// While the frames hold few enough colours, the file is the indexed one.
class ApngWriter : public AnimationWriter {
 public:
  bool Add(const Image& image, std::uint32_t durationMs) override;
  bool Close() override;
  std::vector<std::uint8_t> Head() const override;
  std::vector<std::uint8_t> Tail() const override;
  const std::vector<std::uint8_t>* WholeBody() const override {
    return indexed_.Alive() ? &indexed_.Body() : nullptr;
  }

 private:
  void Flush();

  IndexedApng indexed_;

  Image last_;
  bool started_ = false;
  Region region_;                       // the last frame's rectangle, not written yet
  std::vector<std::uint8_t> data_;      // its rows, compressed
  std::uint32_t durationMs_ = 0;        // and its time so far
  std::uint32_t frames_ = 0, sequence_ = 0;
};

// All of `frames` at once; empty for no frames or frames of different sizes.
std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames);

}  // namespace imagelib

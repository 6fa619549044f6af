// APNG files for a recording of the frame, lossless, that keep the real
// timing. Pure C++.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Animation.h"

namespace imagelib {

// An APNG that decodes to exactly the frames added: the first whole, each
// later one only the rectangle in which it differs from the one before.
class ApngWriter : public AnimationWriter {
 public:
  bool Add(const Image& image, std::uint32_t durationMs) override;
  bool Close() override;
  std::vector<std::uint8_t> Head() const override;
  std::vector<std::uint8_t> Tail() const override;

 private:
  void Flush();

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

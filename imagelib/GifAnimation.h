// Animated GIF files for a recording of the frame. Each frame after the
// first carries only the rectangle that changed, with its own palette for
// the pixels that changed and every other pixel transparent, so that what
// did not change never flickers. Delays are in the format's hundredths of a
// second, counted from the start, so that the total time stays true. Pure C++.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Animation.h"

namespace imagelib {

class GifAnimationWriter : public AnimationWriter {
 public:
  bool Add(const Image& image, std::uint32_t durationMs) override;
  bool Close() override;
  std::vector<std::uint8_t> Head() const override;
  std::vector<std::uint8_t> Tail() const override;

 private:
  void Flush();

  Image last_;
  bool started_ = false;
  std::vector<std::uint8_t> frame_;  // the last frame's blocks, waiting for its delay
  std::uint32_t durationMs_ = 0;
  std::uint64_t shownMs_ = 0;        // the time of the frames written
  std::uint64_t shownCs_ = 0;        // the same as the file counts it
};

}  // namespace imagelib

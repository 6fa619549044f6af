// Animated pictures for a recording of the frame: the rectangle in which
// two frames differ, and APNG files that keep the real timing. Pure C++.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/Image.h"

namespace imagelib {

struct Region {
  int x = 0, y = 0, width = 0, height = 0;  // width 0: nothing
  bool Empty() const { return width == 0; }
};

// The smallest rectangle that holds every pixel in which `a` and `b` (of one
// size) differ; empty when they are the same.
Region ChangedRegion(const Image& a, const Image& b);

// `region` of `image`, as a picture of its own.
Image Cut(const Image& image, const Region& region);

struct TimedFrame {
  Image image;                // every frame of one size
  std::uint32_t durationMs;  // how long it shows: until the next was taken
};

// Both animation writers keep only the last frame as pixels; the others are
// compressed as they come. What is compressed can be taken out as it grows
// (a long recording keeps it in a file): the file is then Head(), everything
// taken, in order, and Tail().

// An APNG that loops forever and decodes to exactly the frames added: the
// first whole, each later one only the rectangle in which it differs from
// the one before. A frame that does not differ from the one before adds its
// time to it.
class ApngWriter {
 public:
  // False (nothing added) for a frame of another size than the first.
  bool Add(const Image& image, std::uint32_t durationMs);
  // The frames complete so far, handed out and no longer kept.
  std::vector<std::uint8_t> TakeWritten();
  // Completes the last frame (its time is known now): after it, Head() and
  // Tail() are final. False when no frame was added.
  bool Close();
  std::vector<std::uint8_t> Head() const;
  std::vector<std::uint8_t> Tail() const;
  // The whole file (what was not taken out); empty when no frame was added.
  std::vector<std::uint8_t> Finish();

 private:
  void Flush();

  Image last_;
  bool started_ = false;
  Region region_;                       // the last frame's rectangle, not written yet
  std::vector<std::uint8_t> data_;      // its rows, compressed
  std::uint32_t durationMs_ = 0;        // and its time so far
  std::vector<std::uint8_t> body_;      // the frames written
  std::uint32_t frames_ = 0, sequence_ = 0;
};

// All of `frames` at once; empty for no frames or frames of different sizes.
std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames);

// An animated GIF that loops forever. Each frame after the first carries
// only the rectangle that changed, with its own palette for the pixels that
// changed and every other pixel transparent, so that what did not change
// never flickers. Delays are in the format's hundredths of a second, counted
// from the start, so that the total time stays true. Frames are kept
// compressed as they come.
class GifAnimationWriter {
 public:
  bool Add(const Image& image, std::uint32_t durationMs);
  std::vector<std::uint8_t> TakeWritten();
  bool Close();
  std::vector<std::uint8_t> Head() const;
  std::vector<std::uint8_t> Tail() const;
  std::vector<std::uint8_t> Finish();

 private:
  void Flush();

  Image last_;
  bool started_ = false;
  std::vector<std::uint8_t> frame_;  // the last frame's descriptor and data, waiting for its delay
  std::uint32_t durationMs_ = 0;
  std::uint64_t shownMs_ = 0;        // the time of the frames written
  std::uint64_t shownCs_ = 0;        // the same as the file counts it
  std::vector<std::uint8_t> body_;
};

}  // namespace imagelib

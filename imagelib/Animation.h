// What the two animation writers of a recording share: the rectangle in
// which two frames differ, and the writers' common form. Pure C++.
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

// An animation that loops forever, made frame by frame. A writer keeps only
// the last frame as pixels; the others are compressed as they come. What is
// compressed can be taken out as it grows (a long recording keeps it in a
// file): the file is then Head(), everything taken, in order (or what
// KeptBody() holds), and Tail().
class AnimationWriter {
 public:
  virtual ~AnimationWriter() = default;
  // False (nothing added) for a frame of another size than the first. A
  // frame that does not differ from the one before adds its time to it.
  virtual bool Add(const Image& image, std::uint32_t durationMs) = 0;
  // The frames complete so far, handed out and no longer kept.
  std::vector<std::uint8_t> TakeWritten();
  // Completes the last frame (its time is known now): after it, Head() and
  // Tail() are final. False when no frame was added.
  virtual bool Close() = 0;
  virtual std::vector<std::uint8_t> Head() const = 0;
  virtual std::vector<std::uint8_t> Tail() const = 0;
  // After Close: the frames in a smaller form the writer kept itself, which
  // take the place of everything taken out; null when those are the file's.
  virtual const std::vector<std::uint8_t>* KeptBody() const { return nullptr; }
  // The whole file (what was not taken out); empty when no frame was added.
  std::vector<std::uint8_t> Finish();

 protected:
  std::vector<std::uint8_t> body_;  // the frames complete, not taken out yet
};

}  // namespace imagelib

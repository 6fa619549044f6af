// One animation of a recording, encoded on a thread of its own while the
// window thread keeps sampling: frames wait in a short queue, and each is
// added once the next one's time (its length) is known. The frames get to
// the encoder as the image library's memory, never as GDI objects.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "win/image_writer.h"

class AnimationEncoder {
 public:
  using Frame = std::shared_ptr<const win::LibraryPicture>;

  AnimationEncoder() = default;
  AnimationEncoder(const AnimationEncoder&) = delete;
  AnimationEncoder& operator=(const AnimationEncoder&) = delete;
  ~AnimationEncoder() { Finish(0); }

  // A new animation with its frames in `framesFile`; false with `failure`.
  bool Begin(bool apng, const std::wstring& framesFile, win::WriteOutcome& failure);
  // `frame` shows from `atMs` of the recording; false when the queue is
  // full (the frame is dropped: the one before shows longer).
  bool Add(Frame frame, std::int64_t atMs);
  // Whether Add would take a frame now.
  bool HasRoom() const;
  // The first failure of the encoder (the frames file full), if any.
  bool Failed(win::WriteOutcome& failure) const;
  // The last frame ends at `endMs`; waits until every frame is added.
  void Finish(std::int64_t endMs);
  // After Finish: the animation, for writing the file.
  win::LibraryAnimation& Animation() { return animation_; }

 private:
  struct Item {
    Frame frame;
    std::int64_t atMs;
  };
  void Run() noexcept;
  void AddShown(const Item& next);

  win::LibraryAnimation animation_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Item> queue_;
  bool finishing_ = false;
  std::int64_t endMs_ = 0;
  Item shown_;  // the frame waiting for its length (encoder thread only)
  win::WriteOutcome failure_;
  bool failed_ = false;
};

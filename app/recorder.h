// Recording the frame: the area sampled at the chosen rate into two
// animations at once (GIF and APNG), so that either is ready to write when
// the user has chosen the type after the stop. A frame is added only when
// the area changed; a still area adds time, not frames. Nothing is sampled
// while the menu or a dialog of ours is open, so that nothing of Kirasoe's
// is ever in a frame (the frame itself is drawn outside the area meanwhile).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/animation_encoder.h"
#include "core/geometry.h"
#include "core/masks.h"
#include "core/recording.h"
#include "win/bitmap_buffer.h"
#include "win/screen_copy.h"
#include "win/ticker.h"

class Recorder {
 public:
  class Owner {
   public:
    virtual geometry::Rect RecordedArea() const = 0;
    virtual bool PointerRecorded() const = 0;
    // What every frame hides, relative to the area.
    virtual const masks::List& HiddenParts() const = 0;
    // Something of ours may show over the area (the menu, a dialog).
    virtual bool Busy() const = 0;
    virtual void ShowRecordingState(const std::wstring& text) = 0;
    // The recording stopped; `why` is a message for the user, or empty.
    virtual void RecordingStopped(const std::wstring& why) = 0;
    // The language of the label and the messages.
    virtual texts::Language Language() const = 0;

   protected:
    ~Owner() = default;
  };

  explicit Recorder(Owner& owner) : owner_(owner) {}
  // Starts recording with its frames in files of `folder` (ending in "\");
  // false with `failure` when it cannot start, and nothing of an earlier
  // recording is left.
  bool Start(const recording::Settings& settings, const std::wstring& folder, std::wstring& failure);
  void Stop(const std::wstring& why = {});
  bool Recording() const { return recording_; }
  // After the stop: the frames recorded, and the animation of each type.
  std::int64_t Frames() const { return frames_; }
  std::int64_t Dropped() const { return dropped_; }
  // It ran for its whole length.
  bool LimitReached() const { return endMs_ >= limitMs_; }
  win::LibraryAnimation& Animation(bool apng) { return (apng ? apng_ : gif_).Animation(); }
  // Lets the recording go: the frames files go with it, and no frame is
  // left.
  void Discard();

 private:
  void Tick();
  void Sample(std::int64_t elapsedMs);
  // The message for the encoders' first failure; empty when none failed.
  std::wstring EncoderFailure() const;

  Owner& owner_;
  win::Ticker ticker_{L"recorder"};
  bool recording_ = false;
  recording::Clock clock_{10};
  std::int64_t limitMs_ = 0, startedAt_ = 0, lastSlot_ = -1, endMs_ = 0;
  std::int64_t frames_ = 0, dropped_ = 0;
  win::BitmapBuffer picture_;
  win::ScreenSampler sampler_;
  std::vector<std::uint32_t> sample_, last_;
  AnimationEncoder gif_, apng_;
};

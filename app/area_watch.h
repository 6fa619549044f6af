// Watching the frame: a picture into the numbered series each time the area
// has changed and then stayed still, or at each interval. The area is
// sampled without hiding anything; the pixels of Kirasoe's own windows are
// left out of the comparison, and every picture saved is an exact capture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/change_watch.h"
#include "core/schedule.h"
#include "core/geometry.h"
#include "core/texts.h"
#include "win/screen_copy.h"
#include "win/ticker.h"

class AreaWatch {
 public:
  enum class Mode { Off, Changes, Interval };
  enum class Picture { Saved, Failed, NotNow };

  class Owner {
   public:
    virtual geometry::Rect WatchedArea() const = 0;
    // Screen rectangles of Kirasoe's windows that show now.
    virtual std::vector<geometry::Rect> OwnWindowsShown() const = 0;
    // An exact picture of the area into the series; NotNow while the
    // program is busy (it is asked again at the next sample). A failure
    // it throws ends the watch with the reason.
    virtual Picture TakeWatchPicture() = 0;
    // What the label beside the frame shows; empty hides it.
    virtual void ShowWatchState(const std::wstring& text) = 0;
    // The watch ended; `why` is a message for the user, or empty.
    virtual void WatchEnded(const std::wstring& why) = 0;
    // The language of the label and the messages.
    virtual texts::Language Language() const = 0;

   protected:
    ~Owner() = default;
  };

  explicit AreaWatch(Owner& owner) : owner_(owner) {}
  // Starts watching (the caller ends a watch running first); the area as
  // it stands is the first picture. False when the system gives no timer.
  bool Start(Mode mode, std::int32_t intervalSeconds, const change_watch::Settings& settings);
  void Stop();
  Mode Running() const { return mode_; }
  std::int32_t IntervalSeconds() const { return intervalSeconds_; }

 private:
  void Tick();
  void SampleForChanges(std::int64_t now, const geometry::Rect& area);
  bool Significant(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) const;
  void Take(std::int64_t now);
  // The owner's picture; a failure it throws is Failed, the watch ended.
  Picture TakePicture();
  void ShowState(bool changing);
  void End(const std::wstring& why);

  Owner& owner_;
  win::Ticker ticker_{L"area watch"};
  Mode mode_ = Mode::Off;
  std::int32_t intervalSeconds_ = 0;
  change_watch::Settings settings_;
  change_watch::SettleClock settle_{1000};
  win::ScreenSampler sampler_;
  std::vector<std::uint32_t> saved_, previous_, sample_;
  geometry::Rect sampledArea_;
  int pictures_ = 0;
  bool due_ = false;         // a picture to take as soon as the program is free
  std::int64_t nextAt_ = 0;  // the next sample, or the next interval's picture
  schedule::Slots intervals_{0, 1000};
};

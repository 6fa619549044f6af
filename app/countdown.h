// The timed capture's countdown: a number a second beside the frame, where
// the size label shows, never taking the focus, so that a menu or a tooltip
// the user opens in another program meanwhile stays open. Esc pressed
// anywhere cancels it.
#pragma once

#include "app/info_label.h"
#include "win/ticker.h"

class Countdown : public InfoLabel {
 public:
  class Owner {
   public:
    // Where the number shows: beside the frame as it stands.
    virtual geometry::Rect CountdownAnchor() const = 0;
    // Zero: the capture starts; false when the program is busy (a drag, a
    // menu of ours), and the countdown asks again a moment later.
    virtual bool CountdownEnded(bool quick) = 0;

   protected:
    ~Owner() = default;
  };

  explicit Countdown(Owner& owner) : InfoLabel(L"Kirasoe.Countdown"), owner_(owner) {}
  void Start(int seconds, bool quick);
  void Cancel();
  bool Counting() const { return seconds_ != 0; }
  // The seconds it was started with while it counts, 0 otherwise.
  int Seconds() const { return seconds_; }

 private:
  void Tick();
  bool EscPressed();

  Owner& owner_;
  win::Ticker ticker_{L"countdown"};
  int seconds_ = 0;
  bool quick_ = false;
  ULONGLONG deadline_ = 0;
  int shown_ = -1;           // the number on the label
  geometry::Rect shownBeside_;
  bool escWasDown_ = false;  // so that an Esc held at the start does not count
};

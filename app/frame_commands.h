// The frame tools of the submenu 「フレーム」 that place the frame or capture
// it later: a timed capture, the position and size typed in, the size
// presets, the frame fitted to a window, and frames kept by name.
#pragma once

#include <functional>
#include <optional>

#include "app/countdown.h"
#include "app/own_windows.h"
#include "app/popup_menu.h"
#include "app/voice.h"
#include "app/window_picker.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/kept_frames.h"

class FrameCommands : public Countdown::Owner, public WindowPicker::Owner {
 public:
  struct Needs {
    ActivityState& activity;
    CaptureArea& area;
    kept_frames::List& kept;
    masks::List& masks;  // the frame's, kept with it and given back with it
    OwnWindows& windows;
    Voice voice;
    // Starts a capture for the program in front; false while the program
    // is busy.
    std::function<bool(bool quick)> capture;
  };
  explicit FrameCommands(const Needs& needs) : needs_(needs), countdown_(*this), picker_(*this) {}

  // One of the commands above; the others are not for it.
  void Run(const MenuChoice& choice);
  // The seconds of the timed capture counting down, 0 when none.
  int CountdownSeconds() const { return countdown_.Seconds(); }
  // Ends the countdown; true when one was counting.
  bool CancelCountdown();
  // Keeps `mask` with the frame (at most masks::kMaxMasks; the user is told).
  void KeepMask(const masks::Mask& mask);
  // At exit: a pick leaves the frame as it was, a countdown ends.
  void StopForExit();

  // Countdown::Owner and WindowPicker::Owner.
  geometry::Rect CountdownAnchor() const override { return needs_.windows.frame.Bounds(); }
  bool CountdownEnded(bool quick) override { return needs_.capture(quick); }
  void PickShown(const geometry::Rect& pixels) override;
  void PickEnded(const std::optional<geometry::Rect>& taken) override;

 private:
  void StartCountdown(int seconds, bool quick);
  void AskPosition();
  void StartPicking();
  void KeepFrame();
  void UseKeptFrame(int index);
  // The frame on `pixels`, its size shown beside it.
  void Apply(const geometry::Rect& pixels);

  Needs needs_;
  Countdown countdown_;
  WindowPicker picker_;
  CaptureArea beforePicking_;  // the area a cancelled pick goes back to
  ActivityState::Scope picking_;
};

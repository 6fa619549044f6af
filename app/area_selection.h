// 「範囲を選ぶ」 and 「範囲を選んで撮影」: the screen is held still, one drag
// marks the area on it, the frame takes the area, and for the second the
// capture runs at once from the screen as it was held. Our own windows step
// aside before the screen is held, so that none of them is in it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/area_selector.h"
#include "app/own_windows.h"
#include "app/voice.h"
#include "core/activity.h"
#include "win/still_screen.h"

class AreaSelection : public AreaSelector::Owner {
 public:
  // Copies the rectangle of the screen held still into a picture.
  using CopyStill = std::function<bool(win::BitmapBuffer& picture)>;
  struct Needs {
    ActivityState& activity;
    OwnWindows& windows;
    Voice voice;
    // A watch or a recording runs (no selection can start then).
    std::function<bool()> watchingOrRecording;
    // The frame on the rectangle marked.
    std::function<void(const geometry::Rect&)> place;
    // The capture of the frame from the screen held still, the focus going
    // back to `front` afterwards.
    std::function<void(bool quick, HWND front, const CopyStill& copy)> capture;
  };
  explicit AreaSelection(const Needs& needs) : needs_(needs) {}

  // Starts a selection; `capture` when the area is captured once marked,
  // `front` the window that gets the focus back. False when something else
  // runs or it could not start (the user told why).
  bool Start(bool capture, HWND front);
  // Ends a selection as cancelled: at exit, or when the displays change.
  void Cancel();
  bool Running() const { return selector_.Selecting(); }
  // The window that shows the screen held still, while it shows.
  const AreaSelector& Selector() const { return selector_; }
  AreaSelector& Selector() { return selector_; }

  // AreaSelector::Owner.
  void SelectionEnded(const std::optional<geometry::Rect>& marked, bool shift) override;

 private:
  void Failed(texts::Id what);

  Needs needs_;
  AreaSelector selector_{*this};
  win::StillScreen still_;
  ActivityState::Scope selecting_;
  bool captureAfter_ = false;
  HWND front_ = nullptr;
};

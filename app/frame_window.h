// The capture frame: a borderless topmost window whose outer rectangle is the
// capture area; only a one-pixel ring and eight 5 x 5 handles show, and
// everything inside is see-through and click-through. A corner handle
// resizes it, the ring or a middle handle moves it.
#pragma once

#include <array>

#include "core/capture_area.h"
#include "core/frame_model.h"
#include "core/masks.h"
#include "win/handles.h"
#include "win/window.h"

class FrameWindow : public win::Window {
 public:
  // What the frame asks of the program.
  class Owner {
   public:
    // The user moved or resized the frame to `pixels`.
    virtual void FrameChanged(const geometry::Rect& pixels) = 0;
    // The system's move loop moved the window; the area follows at its end.
    virtual void FrameMoving() = 0;
    // Something else moved or sized the window (a window manager, another
    // program); the frame goes back to the capture area.
    virtual void FrameMovedBySystem(const geometry::Rect& pixels) = 0;
    virtual void MenuRequested(HWND on) = 0;
    virtual void SystemMoveStarted() = 0;
    virtual void SystemMoveEnded() = 0;
    // A close, or the end of the Windows session (no dialog may wait then).
    virtual void ExitRequested(bool sessionEnding) = 0;

   protected:
    ~Owner() = default;
  };

  explicit FrameWindow(Owner& owner) : owner_(owner) {}
  // Creates the frame over `area` in `colour` and shows it (activated: under
  // Wine a frame that only the first press activates loses the mouse in the
  // middle of a drag).
  bool Open(const CaptureArea& area, COLORREF colour);
  // Shape, handles and place from the capture area.
  void Layout(const CaptureArea& area);
  void SetColour(COLORREF colour);
  // Shows each of `masks` (relative to the area) as a hatched band inside
  // it, clipped to the area.
  void ShowMasks(const masks::List& masks, const CaptureArea& area);
  // While recording: a plain ring just outside the area, so that nothing of
  // the frame is in the area, and no handle or drag.
  void ShowOutside(bool outside, const CaptureArea& area);
  // A corner is being dragged.
  bool Resizing() const { return corner_ != frame::Corner::None; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  void OnLeftDown();
  void OnPositionChanged();
  void CheckPlace();
  void OnMouseMove(WPARAM buttons);
  void EndResize();
  bool OnSetCursor(LPARAM lp);
  void Paint();
  // The ring, the handles and the masks' hatching, for the window's size.
  win::UniqueRgn Shape(const geometry::Rect& area) const;
  geometry::Point CursorInFrame() const;

  Owner& owner_;
  win::UniqueBrush brush_;
  geometry::Rect pixels_;
  // The size the window's shape was made for: a move keeps the shape, so
  // that a drag sends the window manager positions only.
  std::int32_t shapedWidth_ = -1, shapedHeight_ = -1;
  std::array<geometry::Rect, 8> outlines_{};
  masks::List masks_;
  frame::Corner corner_ = frame::Corner::None;  // the corner being dragged
  bool inMoveLoop_ = false;
  bool placing_ = false;  // the window is being placed from the area
  bool outside_ = false;  // see ShowOutside
  bool moving_ = false;   // the user moves it with the system's move loop
};

// The frame's line colour for a colour index (0 black, 1 grey, 2 white).
COLORREF FrameColour(int index);

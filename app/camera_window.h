// The camera: the program's small main window, in the camera's outline,
// always on top. Dragging it moves it; a double-click captures; the right
// button opens the menu; the arrow keys move the frame.
#pragma once

#include <vector>

#include "core/geometry.h"
#include "win/handles.h"
#include "win/window.h"

class CameraWindow : public win::Window {
 public:
  // What the camera asks of the program.
  class Owner {
   public:
    virtual void CaptureRequested(bool quick) = 0;
    // A left press on the camera; true when it was taken (it cancelled
    // something) and starts no drag.
    virtual bool CameraPressed() = 0;
    virtual void HotKeyPressed(int id) = 0;
    virtual void MenuRequested(HWND on) = 0;
    virtual void FrameKey(int dx, int dy, bool resize, bool big) = 0;
    virtual void PointerOverCamera() = 0;
    virtual void SystemMoveStarted() = 0;
    virtual void SystemMoveEnded() = 0;
    // A close, or the end of the Windows session (no dialog may wait then).
    virtual void ExitRequested(bool sessionEnding) = 0;
    // Monitors, their work areas or the scale changed while running.
    virtual void DisplayChanged() = 0;
    virtual bool Saving() const = 0;

   protected:
    ~Owner() = default;
  };

  explicit CameraWindow(Owner& owner) : owner_(owner) {}
  // Creates the window at `bounds`, hidden; false when the system refused.
  bool Open(const geometry::Rect& bounds);
  // Gives the window its size and outline. When the system refuses the
  // outline, the window keeps the one it had; the failure's text.
  const wchar_t* Shape(const geometry::Rect& bounds);
  // Where the camera belongs from now on.
  void Place(const geometry::Rect& r) override;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  // Moved by anything but the program or the user's drag (a window
  // manager placing it when it is shown again): back where it belongs.
  void OnPositionChanged();
  void GoHome();
  void OnLeftDown();
  void OnMouseMove(WPARAM buttons);
  bool OnKeyDown(WPARAM key);

  Owner& owner_;
  win::UniqueBitmap picture_;
  bool pressed_ = false;     // a left press that has not moved or been released yet
  geometry::Point pressedAt_;
  geometry::Point home_;     // where the program or the user put it
  bool placing_ = false;     // a move of ours is under way
  bool dragging_ = false;    // the user's drag, in the system's move loop
};

// Gives `hwnd` the outline `rects`: nullptr, or the failure's text when the
// system refused (the window keeps the outline it had).
const wchar_t* ApplyOutline(HWND hwnd, const std::vector<geometry::Rect>& rects);
// At start: when the system refuses the outline, says so and ends the
// program, which cannot be used without its window's shape.
void ApplyOutlineOrEnd(HWND hwnd, const std::vector<geometry::Rect>& rects);

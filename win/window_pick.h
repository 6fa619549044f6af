// Other programs' windows under the pointer, as the user sees them: for
// fitting the frame to a window or a control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/geometry.h"

namespace win {

// The topmost visible window of another process whose shape holds `at`;
// nullptr over the bare desktop.
HWND TopLevelAt(geometry::Point at);

// The visible windows of other processes as they stand now, topmost first:
// where each lies and what the user sees of it.
struct StandingWindow {
  HWND hwnd;
  geometry::Rect rect;     // the window rectangle
  geometry::Rect visible;  // VisibleBounds
};
std::vector<StandingWindow> StandingWindows();

// The deepest visible child of `top` under `at`; `top` itself when there
// is none.
HWND ControlAt(HWND top, geometry::Point at);

// What the user sees of a window: a top-level window's visible bounds
// without the invisible resizing borders where the system reports them,
// the window rectangle otherwise.
geometry::Rect VisibleBounds(HWND hwnd);

// Low-level mouse and keyboard hooks for the thread while the object lives:
// every pointer move, button and key anywhere on the screen goes to
// `listener` first, which may keep it from the window under the pointer.
class InputWatch {
 public:
  class Listener {
   public:
    // True keeps the event from everything else.
    virtual bool PointerMoved(geometry::Point at) = 0;
    virtual bool ButtonPressed(UINT message, geometry::Point at) = 0;
    virtual bool KeyPressed(DWORD key) = 0;

   protected:
    ~Listener() = default;
  };

  explicit InputWatch(Listener& listener);
  InputWatch(const InputWatch&) = delete;
  InputWatch& operator=(const InputWatch&) = delete;
  ~InputWatch();
  bool Watching() const { return mouse_ != nullptr; }
  // When a hook was last called (the system's tick), for any event.
  std::uint32_t LastCall() const;

 private:
  HHOOK mouse_ = nullptr;
  HHOOK keyboard_ = nullptr;
};

}  // namespace win

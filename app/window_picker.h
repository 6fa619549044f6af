// Fitting the frame to a window: while it picks, the pointer is a cross and
// the frame shows the top-level window under the pointer (with Ctrl, the
// control under it). A click takes that rectangle; Esc or a right click
// cancels. The clicks are kept from the window under the pointer, and our
// own windows are never picked.
#pragma once

#include <memory>
#include <optional>

#include "core/geometry.h"
#include "core/hook_watch.h"
#include "win/window.h"
#include "win/system_changes.h"
#include "win/window_pick.h"

class WindowPicker : public win::Window, public win::InputWatch::Listener {
 public:
  class Owner {
   public:
    // The rectangle the frame shows while the pointer moves.
    virtual void PickShown(const geometry::Rect& pixels) = 0;
    // The click's rectangle, or nullopt when cancelled.
    virtual void PickEnded(const std::optional<geometry::Rect>& taken) = 0;

   protected:
    ~Owner() = default;
  };

  explicit WindowPicker(Owner& owner) : owner_(owner) {}
  // False when the system gives no way to watch the pointer.
  bool Start();
  bool Picking() const { return watch_ != nullptr; }
  // Ends picking as if cancelled, without telling the owner.
  void Stop();
  // The rectangle to show for the pointer at `at`; nullopt over no window.
  static std::optional<geometry::Rect> RectangleAt(geometry::Point at, bool control);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  // win::InputWatch::Listener: called from the system's hooks.
  bool PointerMoved(geometry::Point at) override;
  bool ButtonPressed(UINT message, geometry::Point at) override;
  bool KeyPressed(DWORD key) override;
  void Follow(geometry::Point at);
  void Finish(bool take);
  // Picking ends by itself when the system has taken the hooks away.
  bool HooksLost();

  Owner& owner_;
  std::unique_ptr<win::InputWatch> watch_;
  std::unique_ptr<win::CrossPointer> cross_;
  HookWatch hooks_{0};
  std::optional<geometry::Rect> shown_;
  geometry::Point pointer_;
  bool followPosted_ = false;
  bool swallowUp_ = false;  // the release of a press kept from others
};

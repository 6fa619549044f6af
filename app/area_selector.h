// The screen held still, over every monitor, on which one drag marks an
// area: dimmed outside what is marked, the pointer a cross, a magnifier
// beside it. Before the press, the window under the pointer shows bright
// and a click takes it. Arrows move the pointer (Shift: by ten), Space or
// Enter start and end the drag, Esc or a right click cancel. Screen pixels
// throughout. One window covers each monitor, so that a window manager
// keeps each on its monitor and each has its monitor's scale.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/geometry.h"
#include "core/selection.h"
#include "win/handles.h"
#include "win/still_screen.h"
#include "win/window.h"
#include "win/window_pick.h"

class AreaSelector {
 public:
  class Owner {
   public:
    // The rectangle marked, or nullopt when cancelled; `shift` was held at
    // the release.
    virtual void SelectionEnded(const std::optional<geometry::Rect>& marked, bool shift) = 0;

   protected:
    ~Owner() = default;
  };

  explicit AreaSelector(Owner& owner) : owner_(owner) {}
  AreaSelector(const AreaSelector&) = delete;
  AreaSelector& operator=(const AreaSelector&) = delete;
  ~AreaSelector() { Stop(); }
  // Shows `still` (which must outlive the selection) and takes the
  // keyboard; false when the window could not be made.
  bool Start(const win::StillScreen& still);
  // Ends without telling the owner.
  void Stop();
  bool Selecting() const { return still_ != nullptr; }

  // What shows now, for tests and measurements: the bright rectangle and
  // the magnifier's box, in screen pixels.
  std::optional<geometry::Rect> Bright() const { return shown_.bright; }
  geometry::Rect Magnifier() const { return shown_.magnifier; }
  // The pointer moved to `at`, as from the mouse.
  void PointerTo(geometry::Point at);
  // The window that covers the monitor at `at` (nullptr when none does),
  // and where `at` lies in it.
  HWND WindowAt(geometry::Point at) const;

 private:
  // The window over one monitor: its messages go to the selector.
  class Cover : public win::Window {
   public:
    Cover(AreaSelector& selector, const geometry::Rect& area) : selector_(selector), area_(area) {}
    bool Open();
    const geometry::Rect& Area() const { return area_; }
    using win::Window::hwnd;

   protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

   private:
    AreaSelector& selector_;
    geometry::Rect area_;
  };

  struct Shown {
    std::optional<geometry::Rect> bright;  // marked, or the window under the pointer
    geometry::Rect magnifier;
  };
  bool OpenCovers();
  // The rectangle of the window (with `control`, of the control) under
  // `at` as the screen held shows it; nullopt over the bare desktop.
  std::optional<geometry::Rect> WindowRectAt(geometry::Point at, bool control) const;
  bool MakeStrip(std::int32_t width);
  LRESULT Handle(const Cover& cover, UINT msg, WPARAM wp, LPARAM lp);
  void Press();
  void Release(bool shift);
  void Finish(const std::optional<geometry::Rect>& marked, bool shift);
  void Key(WPARAM key);
  // What shows for the pointer now on `monitor`, with the magnifier box
  // of that monitor.
  Shown ShownNow(const geometry::Rect& monitor) const;
  // The magnifier's box and what shows, for the pointer now.
  void Follow();
  // The same, and what changed painted again.
  void Refresh();
  void Invalidate(const Shown& before, const Shown& after);
  void Paint(const Cover& cover);
  void PaintRect(HDC dc, const RECT& r, const geometry::Rect& cover);
  void ComposeRow(std::uint32_t* out, std::int32_t y, std::int32_t from, std::int32_t to) const;
  std::uint32_t MagnifierPixel(std::int32_t dx, std::int32_t dy) const;
  void DrawMagnifierText(HDC strip);

  Owner& owner_;
  const win::StillScreen* still_ = nullptr;
  std::vector<std::unique_ptr<Cover>> covers_;
  std::vector<win::StandingWindow> standing_;  // other programs' windows when the screen was held
  selection::Marking marking_{{0, 0}};
  std::optional<geometry::Rect> hovered_;  // the window under the pointer, before the press
  selection::MagnifierBox box_{8};
  Shown shown_;
  // A band of rows the picture is put together in before it goes to the
  // screen, so that nothing flickers.
  win::MemoryDC strip_;
  win::UniqueBitmap stripBitmap_;
  HGDIOBJ stripOld_ = nullptr;
  std::uint32_t* stripBits_ = nullptr;
  win::UniqueFont font_;
  std::int32_t fontZoom_ = 0;
};

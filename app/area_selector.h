// The screen held still, over every monitor, on which one drag marks an
// area: dimmed outside what is marked, the pointer a cross, a magnifier
// beside it. Before the press, the window under the pointer shows bright
// and a click takes it. Arrows move the pointer (Shift: by ten), Space or
// Enter start and end the drag, Esc or a right click cancel. Screen pixels
// throughout; the window is the virtual screen's rectangle.
#pragma once

#include <windows.h>

#include <optional>

#include "core/geometry.h"
#include "core/selection.h"
#include "win/handles.h"
#include "win/still_screen.h"
#include "win/window.h"

class AreaSelector : public win::Window {
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
  ~AreaSelector() override { Stop(); }
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

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  struct Shown {
    std::optional<geometry::Rect> bright;  // marked, or the window under the pointer
    geometry::Rect magnifier;
  };
  geometry::Point ToScreen(LPARAM lp) const;
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
  void Paint();
  void PaintRect(HDC dc, const RECT& r);
  void ComposeRow(std::uint32_t* out, std::int32_t y, std::int32_t from, std::int32_t to) const;
  std::uint32_t MagnifierPixel(std::int32_t dx, std::int32_t dy) const;
  void DrawMagnifierText(HDC strip);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  Owner& owner_;
  const win::StillScreen* still_ = nullptr;
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

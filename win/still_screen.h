// The whole screen, every monitor, held still in memory as it was at one
// moment: 32-bit pixels, rows top first, once (4 bytes a pixel), until
// released. An area is marked on it while the real screen goes on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/geometry.h"
#include "win/bitmap_buffer.h"
#include "win/handles.h"

namespace win {

class StillScreen {
 public:
  StillScreen() = default;
  StillScreen(const StillScreen&) = delete;
  StillScreen& operator=(const StillScreen&) = delete;
  ~StillScreen() { Release(); }

  // Copies `screen` (the virtual screen's rectangle) now; false, and
  // nothing held, when the memory or the screen refused.
  bool Take(const geometry::Rect& screen);
  void Release();
  bool Held() const { return bits_ != nullptr; }
  const geometry::Rect& Area() const { return area_; }
  HDC dc() const { return dc_.get(); }
  // Row `y` of the screen (screen coordinates), from the area's left.
  const std::uint32_t* Row(std::int32_t y) const {
    return bits_ + static_cast<std::size_t>(y - area_.top) * static_cast<std::size_t>(area_.Width());
  }
  // The pixel at `at`, black outside the screen.
  std::uint32_t At(geometry::Point at) const {
    return area_.Contains(at) ? Row(at.y)[at.x - area_.left] : 0;
  }
  // `r` (screen coordinates, inside the area) as a picture of its own.
  bool CopyOut(const geometry::Rect& r, BitmapBuffer& picture) const;

 private:
  MemoryDC dc_;
  UniqueBitmap section_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  geometry::Rect area_;
};

// The rectangle of the virtual screen: every monitor.
geometry::Rect VirtualScreen();

// The monitor at `at` (the nearest one) and its scale in dots per inch.
struct MonitorInfo {
  geometry::Rect area;
  int dpi = 96;
};
MonitorInfo MonitorAt(geometry::Point at);

}  // namespace win

// Copying pixels of the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "core/masks.h"
#include "win/bitmap_buffer.h"

namespace win {

// Copies `area` of the screen (all monitors) into `picture`, made that size.
// False when the picture could not be made or the screen not read.
bool CopyScreen(BitmapBuffer& picture, const geometry::Rect& area);

// Draws the mouse pointer as the screen shows it now into `picture`, which
// holds `area` of the screen: at its hot spot, through its masks (an I-beam
// inverts what is under it), clipped to the picture. Nothing when the
// pointer is hidden or its shape cannot be read.
void DrawPointer(BitmapBuffer& picture, const geometry::Rect& area);

// Every pixel of `picture` under one of `masks` (relative to its top left
// corner) becomes the mask's colour, before the picture goes anywhere.
// False when one could not be drawn: the picture must then go nowhere.
bool HideMasked(BitmapBuffer& picture, const masks::List& masks);

// Samples of the screen as 32-bit pixels in memory (rows top first), for
// comparing: the windows on the screen stay as they are.
class ScreenSampler {
 public:
  ScreenSampler() = default;
  ScreenSampler(const ScreenSampler&) = delete;
  ScreenSampler& operator=(const ScreenSampler&) = delete;
  ~ScreenSampler() {
    if (dc_ && old_) ::SelectObject(dc_.get(), old_);
  }
  // `area` of the screen as it shows now; false when it cannot be read.
  bool Sample(const geometry::Rect& area, std::vector<std::uint32_t>& pixels);
  // The pixels of `picture`, the same way.
  bool Read(const BitmapBuffer& picture, std::vector<std::uint32_t>& pixels);

 private:
  bool CopyFrom(HDC source, int left, int top, int width, int height, std::vector<std::uint32_t>& pixels);

  MemoryDC dc_;
  UniqueBitmap section_;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
  SIZE size_{0, 0};
};

}  // namespace win

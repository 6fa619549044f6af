// A picture box that is never seen: a persistent image of a given size in
// twips, drawn into through its device context.
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace tk {

class PictureBox {
 public:
  float Width() const { return width_; }
  float Height() const { return height_; }
  // Resizing keeps what fits of the image.
  void Width(float twips);
  void Height(float twips);

  HDC hDC();
  SIZE PixelSize() const { return want_; }
  // A copy of the image, drawn from the box's own DC (where the image stays selected).
  UniqueBitmap CopyImage();
  // Takes a copy of `picture` and sizes the box to it.
  void Picture(HBITMAP picture);

 private:
  // Makes the image the size asked for, keeping what fits.
  void ApplySize();

  float width_ = 0, height_ = 0;
  SIZE want_{0, 0};  // the size set; the image follows when it is next used
  SIZE size_{0, 0};  // the image's size
  MemoryDC dc_;
  UniqueBitmap image_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace tk

// A picture never seen: a bitmap of a given size in pixels, selected in a
// memory device context of its own. The capture is copied into one.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace win {

class BitmapBuffer {
 public:
  BitmapBuffer() = default;
  BitmapBuffer(const BitmapBuffer&) = delete;
  BitmapBuffer& operator=(const BitmapBuffer&) = delete;
  ~BitmapBuffer() { Release(); }

  // Makes the bitmap `width` x `height` (at least 1 x 1), keeping the one it
  // has when the size is the same. False, and no bitmap at all, when it
  // could not be made: a failed capture must not pass for the previous one.
  bool Resize(int width, int height);
  void Release();

  HDC dc() const { return dc_.get(); }
  int Width() const { return size_.cx; }
  int Height() const { return size_.cy; }
  // A copy of the picture, for the clipboard or a window that shows it.
  UniqueBitmap Copy() const;

 private:
  MemoryDC dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  SIZE size_{0, 0};
};

// A copy of `bitmap`, compatible with the screen.
UniqueBitmap CopyBitmap(HBITMAP bitmap);

}  // namespace win

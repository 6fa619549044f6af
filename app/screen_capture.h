// Exactly the framed pixels, with nothing of ours in them: our windows step
// aside while the area is copied and come back, and the picture then goes to
// the clipboard.
#pragma once

#include <functional>

#include "app/own_windows.h"
#include "app/voice.h"
#include "core/capture_area.h"
#include "core/masks.h"
#include "win/bitmap_buffer.h"

class ScreenCapture {
 public:
  ScreenCapture(OwnWindows& windows, Voice voice) : windows_(windows), voice_(voice) {}
  // Copies `area` into the picture (with the pointer when asked);
  // `whenCopied` runs while our windows are still aside. False when nothing
  // was copied (the user has been told).
  bool Take(const CaptureArea& area, bool pointer, const std::function<void()>& whenCopied = {});
  // What every picture hides (relative to the area), from the next one on.
  void Hide(const masks::List& masks) { masks_ = masks; }
  // The same with the picture `copy` makes (from the screen held still
  // while the area was marked) in place of the screen now.
  bool Use(const std::function<bool(win::BitmapBuffer&)>& copy, const CaptureArea& area, bool pointer,
           const std::function<void()>& whenCopied = {});
  // The last picture taken, never seen.
  const win::BitmapBuffer& Picture() const { return picture_; }

 private:
  // The picture copied or not: the pointer, `whenCopied`, the windows back,
  // the clipboard.
  bool Finish(bool copied, const CaptureArea& area, bool pointer, const std::function<void()>& whenCopied);

  OwnWindows& windows_;
  Voice voice_;
  win::BitmapBuffer picture_;
  masks::List masks_;
};

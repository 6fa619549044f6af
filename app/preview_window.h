// The preview: the capture at its own size in a window of its own, shown
// while the save dialog is open. It remembers where the user left it.
#pragma once

#include "core/geometry.h"
#include "win/handles.h"
#include "win/window.h"

class PreviewWindow : public win::Window {
 public:
  // Shows `picture` unscaled, the client area its size; the window is made
  // at `position` the first time, brought onto a monitor when none shows it.
  void ShowPicture(win::UniqueBitmap picture, geometry::Point position);
  // Hides the window and lets go of its picture.
  void Close();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  bool Make(geometry::Point position);
  win::UniqueBitmap picture_;
};

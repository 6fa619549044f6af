// The flash: a plain window in the highlighted-text colour, shown over the
// capture area for a moment before each capture.
#pragma once

#include "core/geometry.h"
#include "win/window.h"

class CaptureFlash : public win::Window {
 public:
  // Shows the flash over `area` without taking the focus.
  void Open(const geometry::Rect& area);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
};

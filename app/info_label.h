// A small label that shows a text for a moment beside a window: the quick
// capture's notice beside the camera and the frame's size while it changes.
// It never takes the focus, lets clicks through, and is hidden before every
// capture.
#pragma once

#include <string>

#include "core/geometry.h"
#include "win/window.h"

class InfoLabel : public win::Window {
 public:
  explicit InfoLabel(const wchar_t* className) : className_(className) {}
  // Shows `text` beside `anchor`, on its monitor, never over `avoid`, and
  // hides it `milliseconds` after the last call.
  void ShowText(const std::wstring& text, const geometry::Rect& anchor, const geometry::Rect& avoid,
                unsigned milliseconds);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  void Paint();
  const wchar_t* className_;
  std::wstring text_;
};

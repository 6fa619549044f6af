// A small label that shows a text for a moment beside a window: the quick
// capture's notice beside the camera and the frame's size while it changes.
// It never takes the focus, lets clicks through, and is hidden before every
// capture.
#pragma once

#include <string>

#include "toolkit/Form.h"
#include "toolkit/Placement.h"

namespace kirasoe {

class InfoLabelClass : public tk::Form {
 public:
  explicit InfoLabelClass(const wchar_t* name);
  // Shows `text` beside `anchor` (screen pixels), on its monitor, never over
  // `avoid`, and hides it `milliseconds` after the last call.
  void ShowText(const std::wstring& text, const placement::Rect& anchor, const placement::Rect& avoid,
                unsigned milliseconds);
  void Hide();
  const std::wstring& Text() const { return text_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
  void DrawControls(HDC dc) override;

 private:
  std::wstring text_;
};

extern InfoLabelClass& Notice;     // the quick capture's saved file
extern InfoLabelClass& SizeLabel;  // the frame's size while it is moved or resized

}  // namespace kirasoe

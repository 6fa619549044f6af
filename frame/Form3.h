// The capture frame: a borderless topmost window whose outer rectangle is the
// capture rectangle.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace kirasoe {

class Form3Class : public tk::Form {
 public:
  Form3Class();
  void Form_Load() override;
  // Moves and sizes the window to the capture rectangle.
  void LayoutFrame();

  std::wstring ButtonState;
  float HitCorner = 0;
};

extern Form3Class& Form3;

// The frame's line colour for a colour index; grey for an index outside 0 to 2.
COLORREF FrameColours(int index);

}  // namespace kirasoe

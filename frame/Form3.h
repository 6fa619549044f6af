// The capture frame: a borderless topmost window whose outer rectangle is the
// capture rectangle; only a one-pixel ring and eight 5 x 5 handles show.
#pragma once

#include <array>
#include <string>

#include "frame/FrameGeometry.h"
#include "toolkit/Form.h"

namespace kirasoe {

class Form3Class : public tk::Form {
 public:
  Form3Class();
  void Form_Load() override;
  void Form_MouseDown(short button, short shift, float x, float y) override;
  void Form_MouseMove(short button, short shift, float x, float y) override;
  void Form_MouseUp(short button, short shift, float x, float y) override;

  // Region, handles and window placement from the capture rectangle.
  void LayoutFrame();
  void HitTestFrame(float x, float y);
  void ResizeFrame(float x, float y);
  // The frame's size in pixels beside it, for a second after the last change.
  void ShowSize();

  std::wstring ButtonState;  // "DOWN" while a corner is dragged
  float HitCorner = 0;       // 0 none, 1 top-left, 2 bottom-left, 3 top-right, 4 bottom-right


 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
  void DrawControls(HDC dc) override;

 private:
  std::array<frame::Point, 8> shape1_{};  // Shape1(i): Left and Top of the handle outlines, twips
  unsigned moveGeneration_ = 0;
  bool inMoveLoop_ = false;
};

extern Form3Class& Form3;

// The frame's line colour for a colour index (0 black, 1 grey, 2 white).
COLORREF FrameColours(int index);

}  // namespace kirasoe

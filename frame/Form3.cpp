#include "frame/Form3.h"

#include "app/Globals.h"
#include "shape/mod_RGN_UserFunction.h"
#include "ui/frmMenu.h"

namespace kirasoe {

Form3Class& Form3 = *new Form3Class;

Form3Class::Form3Class() : tk::Form({.name = L"Form3", .caption = L"Kirasoe"}) {}

COLORREF FrameColours(int index) {
  switch (index) {
    case 0: return RGB(0, 0, 0);
    case 2: return RGB(255, 255, 255);
    default: return RGB(128, 128, 128);
  }
}

void Form3Class::Form_Load() {
  // A hand-edited colour outside the three choices shows grey and is grey
  // from then on, so that exactly one colour item is checked.
  if (LineC < 0 || LineC > 2) LineC = 1;
  BackColor(FrameColours(LineC));
  frmMenu.mc(LineC).checked = true;
  mod_RGN_UserFunction::SetTopmost(*this, false);
  ButtonState = L"UP";
  LayoutFrame();
}

void Form3Class::LayoutFrame() {
  Left(static_cast<float>(SnapX));
  Top(static_cast<float>(SnapY));
  Width(static_cast<float>(SnapW));
  Height(static_cast<float>(SnapH));
}

}  // namespace kirasoe

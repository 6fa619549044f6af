// Asks for the window region of the empty outline slot; the program must
// report it and end. Run by the end-to-end tests.
#include <windows.h>

#include "shape/mod_RGN_Proc.h"
#include "toolkit/Form.h"

class Target : public tk::Form {
 public:
  Target() : tk::Form({.name = L"Target", .caption = L"Target"}) {}
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Target form;
  mod_RGN_Proc::SetFormShape(2, form, true);
  return 3;  // not reached: the failure ends the program
}

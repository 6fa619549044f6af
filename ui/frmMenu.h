// The never-shown form that owns the popup menu and its handlers.
#pragma once

#include "toolkit/Form.h"

namespace kirasoe {

class frmMenuClass : public tk::Form {
 public:
  frmMenuClass();

  // Touching an item loads the menu form (hidden) first.
  tk::MenuItem& mpop();
  tk::MenuItem& mc(int index);
  tk::MenuItem& mpre();

  // Shows the children of mpop at the mouse position over `on`; modal.
  void Popup(tk::Form& on);
  bool IsOpen() const { return open_; }

  void mc_Click(int index);
  void mpre_Click();
  void mver_Click();
  void mend_Click();
  void Form_QueryUnload(int& cancel, int mode) override;

 private:
  bool open_ = false;
  tk::MenuItem mpop_, mcolor_, mc_[3], mpre_, sep002_, mver_, sep001_, mend_;
};

extern frmMenuClass& frmMenu;

}  // namespace kirasoe

// The hidden form that holds the outline pictures: pPicture(n) belongs to
// outline slot n.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace kirasoe {

class frm_RGN_PictureClass : public tk::Form {
 public:
  frm_RGN_PictureClass();
  void Form_Load() override;
  void Form_Unload() override;
  // Loads the form (hidden) on first use; nullptr for a slot without a picture.
  HBITMAP pPicture(int index);

 private:
  tk::UniqueBitmap pictures_[2];
};

extern frm_RGN_PictureClass& frm_RGN_Picture;

}  // namespace kirasoe

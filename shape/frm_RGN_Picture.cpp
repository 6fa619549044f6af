#include "shape/frm_RGN_Picture.h"

#include "resources/resource.h"
#include "toolkit/App.h"

namespace kirasoe {

frm_RGN_PictureClass& frm_RGN_Picture = *new frm_RGN_PictureClass;

frm_RGN_PictureClass::frm_RGN_PictureClass()
    : tk::Form({.name = L"frm_RGN_Picture", .caption = L"frm_RGN_Picture"}) {}

void frm_RGN_PictureClass::Form_Load() {
  const int ids[] = {IDB_CAMERA, IDB_FIGURE};
  for (int i = 0; i < 2; ++i)
    pictures_[i].reset(static_cast<HBITMAP>(::LoadImageW(tk::App::hInstance(), MAKEINTRESOURCEW(ids[i]), IMAGE_BITMAP,
                                                         0, 0, LR_CREATEDIBSECTION)));
}

void frm_RGN_PictureClass::Form_Unload() {
  for (auto& p : pictures_) p.reset();
}

HBITMAP frm_RGN_PictureClass::pPicture(int index) {
  Load();
  return index >= 0 && index < 2 ? pictures_[index].get() : nullptr;
}

}  // namespace kirasoe

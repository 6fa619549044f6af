// The preview window: the capture at its own size while the save dialog is
// open; its position is kept across runs.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace kirasoe {

class Form2Class : public tk::Form {
 public:
  Form2Class();
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int mode) override;
  // Image1: shows `picture` unscaled at (0, 0) and takes its size.
  void SetImage(tk::UniqueBitmap picture);
  float ImageWidth() const { return imageWidth_; }
  float ImageHeight() const { return imageHeight_; }
  // At a fractional ratio the twips of frame and picture can add up to a
  // pixel less or more than the window needs: the client area is made the
  // picture's size in pixels.
  void FitClientToImage();

 protected:
  void DrawControls(HDC dc) override;

 private:
  tk::UniqueBitmap image_;
  float imageWidth_ = 0, imageHeight_ = 0;
};

extern Form2Class& Form2;

}  // namespace kirasoe

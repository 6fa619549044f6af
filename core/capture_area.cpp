#include "core/capture_area.h"

CaptureArea::CaptureArea(const settings::TwipsRect& stored, twips::Scale scale) : stored_(stored), scale_(scale) {
  const std::int32_t left = twips::ToPixels(stored.x, scale.x), top = twips::ToPixels(stored.y, scale.y);
  pixels_ = geometry::RectAt(left, top, twips::ToPixels(stored.w, scale.x), twips::ToPixels(stored.h, scale.y));
}

void CaptureArea::Set(const geometry::Rect& pixels) {
  if (pixels.left != pixels_.left) stored_.x = twips::FromPixels(pixels.left, scale_.x);
  if (pixels.top != pixels_.top) stored_.y = twips::FromPixels(pixels.top, scale_.y);
  if (pixels.Width() != pixels_.Width()) stored_.w = twips::FromPixels(pixels.Width(), scale_.x);
  if (pixels.Height() != pixels_.Height()) stored_.h = twips::FromPixels(pixels.Height(), scale_.y);
  pixels_ = pixels;
}

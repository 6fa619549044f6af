#include "toolkit/Twips.h"

#include "toolkit/Numbers.h"

namespace twips {

double TwipsPerPixelForDpi(int dpi) { return dpi > 0 ? kTwipsPerInch / dpi : 15.0; }

std::int32_t ToPixels(double twips, double twipsPerPixel) { return num::IntDiv(twips, twipsPerPixel); }

std::int32_t FromPixels(double pixels, double twipsPerPixel) {
  return num::ToInt32Saturated(pixels * twipsPerPixel);
}

std::int32_t WindowPixels(double twips, double twipsPerPixel) {
  if (twipsPerPixel <= 0) return 0;
  return num::ToInt32Saturated(twips / twipsPerPixel);
}

}  // namespace twips

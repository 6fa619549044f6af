// The one conversion between twips and pixels, for a given screen ratio
// (twips per pixel). Everything that places, shapes or copies goes through
// it, so that a window, its region and the copied area are the same pixels.
//
//   twips -> pixels: the twips value rounded to a whole number (ties to even),
//                    divided by the exact ratio, truncated toward zero;
//   pixels -> twips: the product, rounded to a whole number away from zero
//                    (up for positive values, down for negative ones).
//
// At whole ratios (15, 12, 10, 6, 5) this is the plain integer division and
// product. At fractional ratios (7.5 at 192 dpi, 60/7 at 168 dpi) nothing is
// rounded before dividing, and pixels -> twips -> pixels gives back the same
// pixel, negative positions included. The arithmetic is exact: the ratio is
// held as a fraction, not as a floating-point number.
#pragma once

#include <cstdint>

namespace twips {

inline constexpr double kTwipsPerInch = 1440.0;

double TwipsPerPixelForDpi(int dpi);

// The screen's ratio on each axis, in twips per pixel.
struct Scale {
  double x = 15, y = 15;
  friend bool operator==(const Scale&, const Scale&) = default;
};

// A ratio as the fraction num / den (twips per pixel), recovered exactly from
// the floating-point ratio the screen reports.
struct Ratio {
  std::int64_t num = 15, den = 1;
};
Ratio ExactRatio(double twipsPerPixel);

std::int32_t ToPixels(double twips, double twipsPerPixel);
std::int32_t FromPixels(double pixels, double twipsPerPixel);

// A length laid out in pixels at 96 dpi (a dialog drawn by hand) at the
// screen's scale, by the same rule: such a layout scales as the camera does.
std::int32_t ScaledFrom96(double pixelsAt96, double twipsPerPixel);

}  // namespace twips

// Conversions between twips and pixels for a given screen ratio (twips per
// pixel). Twips to pixels is an integer division (both operands rounded half
// to even, quotient truncated); pixels to twips is a product rounded half to
// even. Pure C++ so that both rules are tested natively.
#pragma once

#include <cstdint>

namespace twips {

inline constexpr double kTwipsPerInch = 1440.0;

double TwipsPerPixelForDpi(int dpi);
std::int32_t ToPixels(double twips, double twipsPerPixel);
std::int32_t FromPixels(double pixels, double twipsPerPixel);

// The toolkit's placement of a window: a twips position or size becomes the
// nearest whole pixel; reading it back gives pixels times the ratio.
std::int32_t WindowPixels(double twips, double twipsPerPixel);

}  // namespace twips

#include "core/twips.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"

namespace twips {

double TwipsPerPixelForDpi(int dpi) { return dpi > 0 ? kTwipsPerInch / dpi : 15.0; }

Ratio ExactRatio(double r) {
  if (!(r > 0) || !std::isfinite(r)) return {};
  // Continued fraction: the first convergent that matches the double to its
  // last bits is the fraction it was computed from (1440 / dpi, 17 / 2, ...).
  std::int64_t h0 = 1, h1 = 0, k0 = 0, k1 = 1;  // h/k: current and previous convergents
  double x = r;
  for (int i = 0; i < 40; ++i) {
    const double a = std::floor(x);
    if (a > 1e12) break;
    const auto ai = static_cast<std::int64_t>(a);
    const std::int64_t h2 = ai * h0 + h1, k2 = ai * k0 + k1;
    h1 = h0; h0 = h2;
    k1 = k0; k0 = k2;
    if (k0 > 1000000) break;
    if (std::fabs(static_cast<double>(h0) / static_cast<double>(k0) - r) <= r * 1e-12) return {h0, k0};
    const double frac = x - a;
    if (frac <= 0) break;
    x = 1.0 / frac;
  }
  return {h0, k0 > 0 ? k0 : 1};
}

namespace {

std::int32_t Clamp32(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

// Values far outside any screen are not placed exactly; they only must not
// overflow.
constexpr double kExactLimit = 1e12;

}  // namespace

std::int32_t ScaledFrom96(double pixelsAt96, double twipsPerPixel) {
  return ToPixels(pixelsAt96 * TwipsPerPixelForDpi(96), twipsPerPixel);
}

std::int32_t ToPixels(double twipsValue, double twipsPerPixel) {
  const Ratio r = ExactRatio(twipsPerPixel);
  const double t = num::RoundHalfEven(twipsValue);
  if (!std::isfinite(t)) return 0;
  if (std::fabs(t) > kExactLimit) return num::ToInt32Saturated(std::trunc(t * r.den / r.num));
  // Integer division in C++ truncates toward zero.
  return Clamp32(static_cast<std::int64_t>(t) * r.den / r.num);
}

std::int32_t FromPixels(double pixels, double twipsPerPixel) {
  const Ratio r = ExactRatio(twipsPerPixel);
  if (!std::isfinite(pixels)) return 0;
  if (pixels != std::trunc(pixels) || std::fabs(pixels) > kExactLimit) {
    const double v = pixels * static_cast<double>(r.num) / static_cast<double>(r.den);
    return num::ToInt32Saturated(v < 0 ? -std::ceil(-v) : std::ceil(v));
  }
  // Away from zero, exactly: the smallest magnitude at or past |p| * num / den.
  const auto p = static_cast<std::int64_t>(pixels);
  const std::int64_t a = p < 0 ? -p : p;
  const std::int64_t q = (a * r.num + r.den - 1) / r.den;
  return Clamp32(p < 0 ? -q : q);
}

}  // namespace twips

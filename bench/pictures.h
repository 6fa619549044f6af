// Reproducible test pictures: desktop-like (text, flat areas, a gradient, a
// noisy region), photo-like, and a text region cut from the first.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "imagelib/Image.h"

namespace pictures {

inline std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352d;
  x ^= x >> 15;
  x *= 0x846ca68b;
  x ^= x >> 16;
  return x;
}

inline void Set(imagelib::Image& im, int x, int y, int r, int g, int b) {
  std::uint8_t* p = &im.rgb[(static_cast<std::size_t>(y) * im.width + x) * 3];
  p[0] = static_cast<std::uint8_t>(r);
  p[1] = static_cast<std::uint8_t>(g);
  p[2] = static_cast<std::uint8_t>(b);
}

inline imagelib::Image DesktopLike(int w, int h) {
  imagelib::Image im{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int r = 236, g = 236, b = 236;                               // window background
      if (y < h / 24) { r = 40; g = 64; b = 120; }                 // title bar
      else if (x < w / 6) { r = 250; g = 250; b = 250; }           // side panel
      if (x > w * 2 / 3 && y > h / 2) {                            // gradient
        r = 255 * (x - w * 2 / 3) / (w / 3 + 1);
        g = 255 * (y - h / 2) / (h / 2 + 1);
        b = 160;
      }
      if (x > w * 2 / 3 && y > h / 6 && y < h / 3) {               // photo thumbnail (noise)
        std::uint32_t n = Hash(static_cast<std::uint32_t>(y * w + x));
        r = 90 + (n & 63);
        g = 120 + ((n >> 8) & 63);
        b = 60 + ((n >> 16) & 63);
      }
      // Text: glyph-like strokes on 16-pixel lines in the main area.
      if (x > w / 6 + 8 && x < w * 2 / 3 && (y % 16) >= 4 && (y % 16) < 13) {
        std::uint32_t glyph = Hash(static_cast<std::uint32_t>((y / 16) * 977 + (x / 7)));
        int gx = x % 7, gy = (y % 16) - 4;
        if (gx < 6 && ((glyph >> (gx * 3 + gy % 3)) & 1) && (glyph & 0x80000000u)) { r = 20; g = 20; b = 20; }
        if (gx < 6 && ((glyph >> (gx + gy * 2)) & 3) == 3 && (glyph & 0x40000000u)) { r = 110; g = 110; b = 110; }
      }
      Set(im, x, y, r, g, b);
    }
  return im;
}

inline imagelib::Image PhotoLike(int w, int h) {
  imagelib::Image im{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
      double sky = 1.0 - fy;
      int n = static_cast<int>(Hash(static_cast<std::uint32_t>(y * w + x)) & 15) - 8;
      double hill = 0.55 + 0.08 * std::sin(fx * 9.0) + 0.04 * std::sin(fx * 23.0 + 1.0);
      int r, g, b;
      if (fy < hill) {
        r = static_cast<int>(90 + 100 * sky);
        g = static_cast<int>(140 + 80 * sky);
        b = static_cast<int>(200 + 50 * sky);
      } else {
        double t = (fy - hill) * 3;
        r = static_cast<int>(60 + 50 * std::sin(fx * 40 + t * 7));
        g = static_cast<int>(110 + 40 * std::cos(fx * 31 - t * 5));
        b = static_cast<int>(40 + 20 * t);
      }
      Set(im, x, y, std::clamp(r + n, 0, 255), std::clamp(g + n, 0, 255), std::clamp(b + n, 0, 255));
    }
  return im;
}

// A photograph as a camera sensor gives it: smooth gradients with fine
// Gaussian noise (sigma about 2.5 levels) on every channel.
inline imagelib::Image NoisyPhoto(int w, int h) {
  imagelib::Image im{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
  std::uint32_t k = 1;
  auto gauss = [&] {
    const double u1 = (Hash(k++) + 1.0) / 4294967297.0, u2 = Hash(k++) / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
      const double r = 70 + 120 * fx + 30 * std::sin(fy * 5.0);
      const double g = 90 + 80 * fy + 25 * std::cos(fx * 4.0 + fy * 3.0);
      const double b = 150 - 60 * fx * fy + 20 * std::sin(fx * 7.0);
      Set(im, x, y, std::clamp(static_cast<int>(r + 2.5 * gauss() + 0.5), 0, 255),
          std::clamp(static_cast<int>(g + 2.5 * gauss() + 0.5), 0, 255),
          std::clamp(static_cast<int>(b + 2.5 * gauss() + 0.5), 0, 255));
    }
  return im;
}

inline imagelib::Image Crop(const imagelib::Image& src, int x0, int y0, int w, int h) {
  imagelib::Image im{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = src.Pixel(x0 + x, y0 + y);
      Set(im, x, y, p[0], p[1], p[2]);
    }
  return im;
}

inline double Psnr(const imagelib::Image& a, const std::vector<std::uint8_t>& b) {
  double se = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) {
    double d = static_cast<double>(a.rgb[i]) - b[i];
    se += d * d;
  }
  double mse = se / static_cast<double>(a.rgb.size());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace pictures

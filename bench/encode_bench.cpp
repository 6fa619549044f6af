// The image library's encoders on three reproducible pictures, against the
// anchors measured in the same run: libpng at its defaults and optipng -o2 for
// PNG, libjpeg-turbo at the same qualities for JPEG, ImageMagick for GIF.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/pictures.h"
#include "decoders.h"
#include "imagelib/Gif.h"
#include "imagelib/Jpeg.h"
#include "imagelib/Png.h"

using imagelib::Image;
using Bytes = std::vector<std::uint8_t>;

namespace {

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Median time of `runs` calls; the last result is kept.
double Time(int runs, const std::function<void()>& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    double t0 = Now();
    f();
    t.push_back(Now() - t0);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

Bytes LibpngDefault(const Image& im) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(im.width);
  image.height = static_cast<png_uint_32>(im.height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, im.rgb.data(), 0, nullptr);
  Bytes out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, im.rgb.data(), 0, nullptr);
  out.resize(size);
  return out;
}

Bytes LibjpegTurbo(const Image& im, int quality) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = static_cast<JDIMENSION>(im.width);
  c.image_height = static_cast<JDIMENSION>(im.height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&im.rgb[static_cast<std::size_t>(c.next_scanline) * im.width * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(buf, buf + size);
  jpeg_destroy_compress(&c);
  std::free(buf);
  return out;
}

void WriteFile(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), {});
}

void WritePpm(const std::string& path, const Image& im) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << im.width << " " << im.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(im.rgb.data()), static_cast<std::streamsize>(im.rgb.size()));
}

double Run(const std::string& command) {
  double t0 = Now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Now() - t0;
}

void Png(const char* name, const Image& im, const std::string& dir) {
  Bytes ours, anchor;
  double tOurs = Time(5, [&] { ours = imagelib::EncodePng(im); });
  double tPng = Time(5, [&] { anchor = LibpngDefault(im); });
  WriteFile(dir + "/anchor.png", anchor);
  std::remove((dir + "/opti.png").c_str());
  Run("optipng -quiet -o2 -out " + dir + "/opti.png " + dir + "/anchor.png");
  Bytes opti = ReadFile(dir + "/opti.png");
  std::printf("PNG  %-16s ours %8zu B %7.1f ms | libpng %8zu B %7.1f ms | optipng -o2 %8zu B | size/optipng %.3f, time/libpng %.2f\n",
              name, ours.size(), tOurs, anchor.size(), tPng, opti.size(), double(ours.size()) / opti.size(), tOurs / tPng);
}

void Jpeg(const char* name, const Image& im) {
  for (int q : {100, 50, 20}) {
    Bytes ours, anchor;
    double tOurs = Time(5, [&] { ours = imagelib::EncodeJpeg(im, q); });
    double tTurbo = Time(5, [&] { anchor = LibjpegTurbo(im, q); });
    double pOurs = pictures::Psnr(im, DecodeJpeg(ours).rgb), pTurbo = pictures::Psnr(im, DecodeJpeg(anchor).rgb);
    std::printf("JPEG %-16s q%-3d ours %8zu B %6.2f dB %6.1f ms | libjpeg-turbo %8zu B %6.2f dB %6.1f ms | size %.3f, PSNR %.3f\n",
                name, q, ours.size(), pOurs, tOurs, anchor.size(), pTurbo, tTurbo, double(ours.size()) / anchor.size(),
                pOurs / pTurbo);
  }
}

void Gif(const char* name, const Image& im, const std::string& dir) {
  Bytes ours;
  double tOurs = Time(3, [&] { ours = imagelib::EncodeGif(im); });
  double pOurs = pictures::Psnr(im, DecodeGif(ours).rgb);
  WritePpm(dir + "/in.ppm", im);
  double tMagick = Run("convert " + dir + "/in.ppm +dither -colors 256 " + dir + "/magick.gif");
  Bytes magick = ReadFile(dir + "/magick.gif");
  double pMagick = pictures::Psnr(im, DecodeGif(magick).rgb);
  std::printf("GIF  %-16s ours %8zu B %6.2f dB %6.1f ms | ImageMagick %8zu B %6.2f dB %6.1f ms (process) | size %.3f\n",
              name, ours.size(), pOurs, tOurs, magick.size(), pMagick, tMagick, double(ours.size()) / magick.size());
}

}  // namespace

int main() {
  const std::string dir = "/tmp/kirasoe-bench";
  std::system(("mkdir -p " + dir).c_str());
  Image desktop = pictures::DesktopLike(1920, 1080);
  Image photo = pictures::PhotoLike(1920, 1080);
  Image text = pictures::Crop(desktop, 330, 80, 320, 240);
  Png("desktop 1920x1080", desktop, dir);
  Png("text 320x240", text, dir);
  // Text and menus beside a photo thumbnail: more colours than a palette holds.
  Png("menus 320x240", pictures::Crop(desktop, 1160, 120, 320, 240), dir);
  Png("photo 1920x1080", photo, dir);
  Png("noisy photo 1920x1080", pictures::NoisyPhoto(1920, 1080), dir);
  Jpeg("desktop 1920x1080", desktop);
  Jpeg("photo 1920x1080", photo);
  Gif("desktop 1920x1080", desktop, dir);
  return 0;
}

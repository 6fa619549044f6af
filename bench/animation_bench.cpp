// The animation encoders on the frames of a recorded clip (PNG files
// frame_000.png ... in a folder, 10 a second): our APNG and GIF, their sizes
// and times. scripts/bench sets them next to apngasm, apngopt and ffmpeg's
// two-pass palette on the same frames.
#include <png.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "imagelib/Apng.h"
#include "imagelib/GifAnimation.h"

namespace {

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

bool ReadPng(const std::string& path, imagelib::Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  return png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

// The time of the last frame's Close and the file's making: what a stop
// waits for.
double g_finishMs = 0;

template <class Writer>
double Encode(const std::vector<imagelib::Image>& frames, const std::string& path) {
  const double t0 = Now();
  Writer writer;
  for (const auto& f : frames) writer.Add(f, 100);
  const double t1 = Now();
  const std::vector<std::uint8_t> bytes = writer.Finish();
  const double ms = Now() - t0;
  g_finishMs = Now() - t1;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  std::vector<imagelib::Image> frames;
  for (int n = 0;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%03d.png", n);
    imagelib::Image image;
    if (!ReadPng(folder + name, image)) break;
    frames.push_back(std::move(image));
  }
  if (frames.empty()) return 1;
  const double apng = Encode<imagelib::ApngWriter>(frames, folder + "/ours.png");
  const double apngFinish = g_finishMs;
  const double gif = Encode<imagelib::GifAnimationWriter>(frames, folder + "/ours.gif");
  std::printf("%zu frames: ours APNG %.0f ms (%.0f ms of it at the end), GIF %.0f ms\n", frames.size(), apng,
              apngFinish, gif);
  // The worst end for the palette form: twenty new colours in the last
  // frame, so that every frame before is packed again at eight bits.
  imagelib::Image last = frames.back();
  for (int x = 0; x < 20; ++x) last.rgb[3 * x] = static_cast<std::uint8_t>(x * 10 + 1);
  frames.push_back(last);
  Encode<imagelib::ApngWriter>(frames, folder + "/widened.png");
  std::printf("the same with 20 colours more in one last frame: %.0f ms at the end\n", g_finishMs);
  return 0;
}

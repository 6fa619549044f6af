// The editor on a 3840 x 2160 capture, on the screen it runs on:
// - from the request to the editor painted, against the preview showing the
//   same picture (the anchor), in the same run, median of 11, taken in turns;
// - from a mouse move to the window painted, while drawing with the pen, a
//   rectangle and a line across what the window shows (300 moves each), as
//   percentiles.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/tools/capture_rig.h"
#include "win/screen.h"

namespace {

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

// Waits until what was drawn has reached the screen: a pixel read back.
void ReadBack(HWND window) {
  ::GdiFlush();
  RECT r{};
  ::GetWindowRect(window, &r);
  win::WindowDC screen(nullptr);
  ::GetPixel(screen.get(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A busy picture: every pixel differs from its neighbours.
bool MakePicture(win::BitmapBuffer& picture, int width, int height) {
  if (!picture.Resize(width, height)) return false;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels[static_cast<std::size_t>(y) * width + x] = ((x * 7 + y * 3) & 255) << 16 | ((x ^ y) & 255) << 8 | ((x * y + x) & 255);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return ::SetDIBitsToDevice(picture.dc(), 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
}

double ShowPreview(CaptureRig& rig, const win::BitmapBuffer& picture) {
  const double start = Now();
  rig.windows.preview.ShowPicture(picture.Copy(), {0, 0});
  ::UpdateWindow(rig.windows.preview.hwnd());
  ReadBack(rig.windows.preview.hwnd());
  const double took = Now() - start;
  rig.windows.preview.Close();
  win::PumpPending();
  return took;
}

double OpenEditor(CaptureRig& rig, const win::BitmapBuffer& picture, win::BitmapBuffer& edited) {
  const double start = Now();
  if (!rig.editor.Begin(picture, {0, 0}, edited)) return -1;
  ::UpdateWindow(rig.editor.hwnd());
  ReadBack(rig.editor.hwnd());
  return Now() - start;
}

void Close(CaptureRig& rig) {
  rig.editor.Cancel();
  rig.editor.Wait();
}

// 300 moves with the button held, zigzagging over what the window shows.
std::vector<double> Drag(CaptureRig& rig, int tool) {
  RECT client{};
  ::GetClientRect(rig.editor.hwnd(), &client);
  rig.editor.ChooseTool(tool);
  const geometry::Point from{10, 10};
  rig.editor.PointerAt(from, true);
  std::vector<double> took;
  for (int i = 1; i <= 300; ++i) {
    const geometry::Point to{10 + (client.right - 20) * i / 300, 10 + (i % 40) * (client.bottom - 20) / 40};
    const double start = Now();
    rig.editor.PointerAt(to, true);
    ReadBack(rig.editor.hwnd());
    took.push_back(Now() - start);
  }
  rig.editor.PointerAt(from, false);
  return took;
}

}  // namespace

int main() {
  CaptureRig rig(geometry::RectAt(0, 0, 28, 25));
  win::BitmapBuffer picture, edited;
  if (!MakePicture(picture, 3840, 2160)) {
    std::puts("no memory for a 3840 x 2160 picture");
    return 1;
  }
  std::vector<double> preview, editor;
  for (int i = 0; i < 11; ++i) {
    preview.push_back(ShowPreview(rig, picture));
    editor.push_back(OpenEditor(rig, picture, edited));
    Close(rig);
  }
  const double p = Percentile(preview, 0.5), e = Percentile(editor, 0.5);
  std::printf("open 3840x2160: preview %.1f ms (anchor), editor %.1f ms, ratio %.2f (limit 1.20)\n", p, e, e / p);
  const char* names[] = {"", "rectangle", "", "line", "pen"};
  for (int tool : {4, 1, 3}) {
    OpenEditor(rig, picture, edited);
    const std::vector<double> moves = Drag(rig, tool);
    Close(rig);
    std::printf("%-9s move to paint: p50 %.2f ms, p95 %.2f ms, max %.2f ms (limit p95 16 ms)\n", names[tool],
                Percentile(moves, 0.5), Percentile(moves, 0.95), Percentile(moves, 1.0));
  }
  return 0;
}

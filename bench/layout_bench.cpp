// LayoutFrame at 1920 x 1080 pixels: median time per call, and the GDI object
// count before and after 10,000 layouts (it must not grow). Anchor: a bare
// SetWindowPos of the same window between the same two sizes.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/gdi_count.h"
#include "bench/quiet_frame_owner.h"
#include "app/frame_window.h"
#include "win/screen.h"

namespace {

CaptureArea Area(int width, int height) {
  const twips::Scale scale = win::CurrentScale();
  return CaptureArea({0, 0, twips::FromPixels(width, scale.x), twips::FromPixels(height, scale.y)}, scale);
}

}  // namespace

int main() {
  QuietFrameOwner owner;
  FrameWindow frame(owner);
  frame.Open(Area(1920, 1080), FrameColour(1));
  win::PumpPending();

  const int kCalls = 10000;
  long before = CountGdiObjects();
  std::vector<double> ms;
  ms.reserve(kCalls);
  for (int i = 0; i < kCalls; ++i) {
    // Alternate by one pixel, as a resize does, so every call has work to do.
    const CaptureArea area = Area(1920 - (i & 1), 1080 - (i & 1));
    auto t0 = std::chrono::steady_clock::now();
    frame.Layout(area);
    auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    if (i % 100 == 0) win::PumpPending();
  }
  win::PumpPending();
  long after = CountGdiObjects();
  std::sort(ms.begin(), ms.end());

  std::vector<double> anchor;
  for (int i = 0; i < 2000; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    ::SetWindowPos(frame.hwnd(), nullptr, 0, 0, 1920 - (i & 1), 1080 - (i & 1), SWP_NOZORDER | SWP_NOACTIVATE);
    auto t1 = std::chrono::steady_clock::now();
    anchor.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    if (i % 100 == 0) win::PumpPending();
  }
  std::sort(anchor.begin(), anchor.end());
  const double median = ms[ms.size() / 2], bare = anchor[anchor.size() / 2];
  std::printf("layout_frame 1920x1080: median %.4f ms, p90 %.4f ms over %d calls\n", median, ms[ms.size() * 9 / 10], kCalls);
  std::printf("anchor bare SetWindowPos: median %.4f ms; ratio %.2f\n", bare, median / bare);
  std::printf("GDI objects: %ld before, %ld after 10,000 layouts\n", before, after);
  return after == before ? 0 : 1;
}

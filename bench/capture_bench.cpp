// The capture up to the clipboard (hide, copy, show, clipboard) for a full-HD
// and a 320 x 240 rectangle, against a bare BitBlt of the same rectangle from
// the desktop into a DIB section, measured in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/Form1.h"
#include "app/Globals.h"
#include "toolkit/App.h"

using namespace kirasoe;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double BareCopy(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC screen = ::GetDC(::GetDesktopWindow());
  HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, section);
  double t0 = Now();
  ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  double t = Now() - t0;
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::DeleteObject(section);
  ::ReleaseDC(::GetDesktopWindow(), screen);
  return t;
}

double EventPass() {
  double t0 = Now();
  tk::DoEvents();
  return Now() - t0;
}

}  // namespace

int main() {
  Form1.Load();  // the program's own start-up: main window, frame, settings
  Form1.Visible(true);
  tk::DoEvents();
  const double tpp = tk::Screen::TwipsPerPixelX();
  const int sizes[][2] = {{1920, 1080}, {320, 240}};
  for (auto& size : sizes) {
    SnapX = 0;
    SnapY = 0;
    SnapW = static_cast<int>(size[0] * tpp);
    SnapH = static_cast<int>(size[1] * tpp);
    std::vector<double> capture, bare, events;
    for (int i = 0; i < 15; ++i) {
      double t0 = Now();
      Form1.CopyScreenArea();
      capture.push_back(Now() - t0);
      bare.push_back(BareCopy(size[0], size[1]));
      events.push_back(4 * EventPass());  // the sequence runs four pending-event passes
    }
    const double c = Median(capture), b = Median(bare), e = Median(events);
    std::printf("capture %dx%d to clipboard: median %.2f ms; bare BitBlt %.2f ms; event passes %.2f ms; "
                "ratio to bare copy + passes %.2f\n",
                size[0], size[1], c, b, e, c / (b + e));
  }
  return 0;
}

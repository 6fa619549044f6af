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
#include "frame/Form3.h"
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

// What the platform alone costs for the steps the sequence cannot leave out:
// hiding and showing the two windows, waiting for the screen, and handing a
// bitmap of the capture's size to the clipboard.
struct Floor {
  double hideShow, settle, clipboard;
};

Floor PlatformFloor(int w, int h) {
  Floor f{};
  double t0 = Now();
  ::ShowWindow(Form1.hWnd(), SW_HIDE);
  ::ShowWindow(Form3.hWnd(), SW_HIDE);
  ::ShowWindow(Form1.hWnd(), SW_SHOW);
  ::ShowWindow(Form3.hWnd(), SW_SHOW);
  f.hideShow = Now() - t0;
  tk::DoEvents();
  t0 = Now();
  tk::SettleScreen();
  f.settle = Now() - t0;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  ::ReleaseDC(nullptr, screen);
  t0 = Now();
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    if (::SetClipboardData(CF_BITMAP, bitmap)) bitmap = nullptr;
    ::CloseClipboard();
  }
  f.clipboard = Now() - t0;
  if (bitmap) ::DeleteObject(bitmap);
  return f;
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
    std::vector<double> capture, bare, events, hideShow, settle, clipboard;
    for (int i = 0; i < 15; ++i) {
      double t0 = Now();
      Form1.CopyScreenArea();
      capture.push_back(Now() - t0);
      bare.push_back(BareCopy(size[0], size[1]));
      events.push_back(4 * EventPass());  // the sequence runs four pending-event passes
      const Floor f = PlatformFloor(size[0], size[1]);
      hideShow.push_back(f.hideShow);
      settle.push_back(f.settle);
      clipboard.push_back(f.clipboard);
    }
    const double c = Median(capture), b = Median(bare), e = Median(events);
    std::printf("capture %dx%d to clipboard: median %.2f ms; bare BitBlt %.2f ms; event passes %.2f ms; "
                "ratio to bare copy + passes %.2f\n",
                size[0], size[1], c, b, e, c / (b + e));
    const double hs = Median(hideShow), st = Median(settle), cb = Median(clipboard);
    std::printf("  platform floor: hide+show %.2f ms, wait for the screen %.2f ms, CF_BITMAP hand-over %.2f ms; "
                "bare copy + passes + floor = %.2f ms, ratio %.2f\n",
                hs, st, cb, b + e + hs + st + cb, (b + e + hs + st + cb) / (b + e));
  }
  return 0;
}

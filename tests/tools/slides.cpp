// Slides for watching the frame: a borderless window at "X Y W H" that shows
// solid slides with bars of "text", cross-fades between them, and in a
// corner a blinking caret, a clock's seconds and a 16 x 16 spinner that never
// stop. With "changes" it runs, once a file "go" appears in its folder:
// A 3 s, a fade to B, B 3 s, C for 0.4 s, B 3 s, a fade to A, A 3 s, noise
// that never settles for 4 s, A. With "still" it shows A only. The pixels of
// slide k are those of SlidePixel below, which the tests compute the same way.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "pixel_window.h"

namespace {

int g_w = 0, g_h = 0;
std::vector<DWORD> g_pixels;
bool g_changes = false;
ULONGLONG g_start = 0;  // when "go" was seen; 0 before

DWORD Rgb(int r, int g, int b) { return static_cast<DWORD>((r << 16) | (g << 8) | b); }

DWORD SlidePixel(int k, int x, int y) {
  static const int base[3][3] = {{200, 40, 40}, {40, 160, 60}, {40, 60, 200}};
  if ((y / 10) % 4 == 0 && x >= 40 && x < g_w - 40 && (x / 6) % 3 != 0) return Rgb(250, 250, 250);
  return Rgb(base[k][0], base[k][1], base[k][2]);
}

DWORD Blend(DWORD a, DWORD b, long long t, long long of) {
  if (a == b) return a;
  auto c = [&](int shift) { return (((a >> shift) & 255) * (of - t) + ((b >> shift) & 255) * t) / of; };
  return static_cast<DWORD>((c(16) << 16) | (c(8) << 8) | c(0));
}

// The slide area at `ms` into the timeline: a slide, a fade, or noise.
void DrawTimeline(ULONGLONG ms) {
  struct Phase { int from, to, length; bool noise; };
  static const Phase phases[] = {{0, 0, 3000, false}, {0, 1, 800, false}, {1, 1, 3000, false},
                                 {2, 2, 400, false},  {1, 1, 3000, false}, {1, 0, 800, false},
                                 {0, 0, 3000, false}, {0, 0, 4000, true},  {0, 0, 1 << 30, false}};
  const Phase* p = phases;
  while (ms >= static_cast<ULONGLONG>(p->length)) ms -= (p++)->length;
  static unsigned seed = 1;
  for (int y = 0; y < g_h; ++y)
    for (int x = 0; x < g_w; ++x) {
      DWORD v = Blend(SlidePixel(p->from, x, y), SlidePixel(p->to, x, y), static_cast<long long>(ms), p->length);
      if (p->noise && y >= 60 && y < g_h - 40) v = (seed = seed * 1103515245u + 12345u) >> 8 & 0xFFFFFF;
      g_pixels[y * g_w + x] = v;
    }
}

// The caret, the clock's seconds and the spinner, in the top-left corner
// (10, 10) to (150, 45): they change all the time and are never a change.
void DrawCorner(ULONGLONG now) {
  auto box = [](int x0, int y0, int w, int h, DWORD colour) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) g_pixels[y * g_w + x] = colour;
  };
  box(10, 10, 140, 35, Rgb(255, 255, 255));
  if ((now / 500) % 2) box(20, 20, 2, 16, 0);  // the caret
  const int seconds = static_cast<int>(now / 1000 % 60);
  for (int d = 0; d < 2; ++d) {  // each digit as its value in 2 x 2 dots
    const int value = d ? seconds % 10 : seconds / 10;
    for (int i = 0; i < value; ++i) box(40 + d * 14 + (i % 3) * 4, 20 + (i / 3) * 4, 2, 2, 0);
  }
  const int quarter = static_cast<int>(now / 125 % 4);  // the spinner
  box(120 + (quarter % 2) * 8, 20 + (quarter / 2) * 8, 8, 8, Rgb(0, 0, 255));
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_TIMER: {
      const ULONGLONG now = GetTickCount64();
      if (g_changes && !g_start && GetFileAttributesW(L"go") != INVALID_FILE_ATTRIBUTES) g_start = now;
      DrawTimeline(g_start ? now - g_start : 0);
      DrawCorner(now);
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    }
    case WM_PAINT: PaintPixels(h, g_w, g_h, g_pixels); return 0;
    default: return DefWindowProcW(h, m, w, l);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
  // Placed in screen pixels at every scale, like the program.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int x = 0, y = 0;
  char mode[32] = {};
  if (std::sscanf(cmd, "%d %d %d %d %31s", &x, &y, &g_w, &g_h, mode) != 5 || g_w < 160 || g_h < 120) return 2;
  g_changes = std::strcmp(mode, "changes") == 0;
  g_pixels.assign(static_cast<std::size_t>(g_w) * g_h, 0);
  return RunPixelWindow(inst, Proc, L"KirasoeSlides", x, y, g_w, g_h, 40);
}

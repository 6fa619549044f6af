// Numbered frames for recording the frame: a borderless window at "X Y W H"
// that shows frame 0 until a file "go" appears in its folder, then frame n
// for n = 1 .. COUNT - 1 every PERIOD ms, and stays on the last one. The
// number is drawn as 16 squares (bit 0 left: black for 1, white for 0) along
// the top; the rest of frame n is a pattern of many colours that changes
// with n, or with a seventh argument "few" one of five colours, as text and
// menus have. The pixels are those of FramePixel, which the tests compute
// the same way.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pixel_window.h"

namespace {

int g_w = 0, g_h = 0, g_period = 0, g_count = 0, g_shown = -1;
bool g_few = false;
constexpr DWORD kFew[5] = {0xFFFFFF, 0x000000, 0x808080, 0x2050C0, 0xE03020};
std::vector<DWORD> g_pixels;
ULONGLONG g_start = 0;  // when "go" was seen; 0 before

DWORD FramePixel(int n, int x, int y) {
  if (y < 16 && x < 16 * 16) return (n >> (x / 16)) & 1 ? 0 : 0xFFFFFF;
  if (g_few) return kFew[(x / 4 + y / 3 + n) % 5];
  const int r = (x * 7 + n * 50) & 255, g = (y * 5) & 255, b = (n * 90 + x + y) & 255;
  return static_cast<DWORD>((r << 16) | (g << 8) | b);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_TIMER: {
      const ULONGLONG now = GetTickCount64();
      if (!g_start && GetFileAttributesW(L"go") != INVALID_FILE_ATTRIBUTES) g_start = now;
      const int n = g_start ? static_cast<int>(std::min<ULONGLONG>((now - g_start) / g_period, g_count - 1)) : 0;
      if (n == g_shown) return 0;
      g_shown = n;
      for (int y = 0; y < g_h; ++y)
        for (int x = 0; x < g_w; ++x) g_pixels[y * g_w + x] = FramePixel(n, x, y);
      InvalidateRect(h, nullptr, FALSE);
      UpdateWindow(h);
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
  char mode[8] = "";
  const int read = std::sscanf(cmd, "%d %d %d %d %d %d %7s", &x, &y, &g_w, &g_h, &g_period, &g_count, mode);
  if (read < 6 || g_w < 256 || g_h < 32 || g_period < 10 || g_count < 1 || g_count > 65536) return 2;
  g_few = std::strcmp(mode, "few") == 0;
  g_pixels.assign(static_cast<std::size_t>(g_w) * g_h, 0);
  return RunPixelWindow(inst, Proc, L"KirasoeCounter", x, y, g_w, g_h, 5);
}

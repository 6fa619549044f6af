// A plain window that takes the focus: the window the user works in before
// moving to the camera. Run by the end-to-end tests; ends when closed.
// With "pattern X Y W H" it is instead a borderless window at that screen
// rectangle that paints the tests' screen pattern, as another program's
// window beneath the capture frame. With "menu X Y" it opens a popup menu at
// that point and keeps it open; with "window X Y W H" it is a captioned
// window at that rectangle with a button at (20, 30) of its client area,
// 120 x 40, to fit the frame to (clicked, it changes the window's title).
#include <windows.h>

#include <cstdio>
#include <vector>

static RECT g_rect;
static std::vector<DWORD> g_pixels;

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  if (m == WM_COMMAND) SetWindowTextW(h, L"Button clicked");  // a click that reached it
  if (m == WM_PAINT && !g_pixels.empty()) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    const int width = g_rect.right - g_rect.left, height = g_rect.bottom - g_rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, g_pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

static int PopupMenuAt(HINSTANCE inst, int x, int y) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = inst;
  wc.lpszClassName = L"KirasoeMenuOwner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Menu", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               inst, nullptr);
  ShowWindow(owner, SW_SHOW);
  SetForegroundWindow(owner);
  HMENU menu = CreatePopupMenu();
  for (const wchar_t* item : {L"Alpha item", L"Beta item", L"Gamma item", L"Delta item"})
    AppendMenuW(menu, MF_STRING, 1, item);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, 0, owner, nullptr);
  return 0;
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
  int x, y, w, h;
  if (std::sscanf(cmd, "menu %d %d", &x, &y) == 2) return PopupMenuAt(inst, x, y);
  if (std::sscanf(cmd, "window %d %d %d %d", &x, &y, &w, &h) == 4) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszClassName = L"KirasoeFitTarget";
    RegisterClassW(&wc);
    HWND win = CreateWindowExW(0, wc.lpszClassName, L"Fit target", WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr,
                               nullptr, inst, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE, 20, 30, 120, 40, win, nullptr, inst, nullptr);
    ShowWindow(win, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  }
  const bool pattern = std::sscanf(cmd, "pattern %d %d %d %d", &x, &y, &w, &h) == 4;
  if (pattern) {
    g_rect = {x, y, x + w, y + h};
    g_pixels.resize(static_cast<size_t>(w) * h);
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const int sx = x + i, sy = y + j;  // the same pattern as on the root window
        const DWORD r = (sx * 7 + sy * 3) & 255, g = (sx ^ sy) & 255, b = (sx * sy + sx) & 255;
        g_pixels[static_cast<size_t>(j) * w + i] = (r << 16) | (g << 8) | b;
      }
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hbrBackground = pattern ? nullptr : (HBRUSH)GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = pattern ? L"KirasoePattern" : L"KirasoeTarget";
  RegisterClassW(&wc);
  HWND hwnd = pattern ? CreateWindowExW(0, wc.lpszClassName, L"Pattern", WS_POPUP, x, y, w, h, nullptr, nullptr,
                                        inst, nullptr)
                      : CreateWindowExW(0, wc.lpszClassName, L"Target", WS_OVERLAPPEDWINDOW, 700, 600, 300, 200,
                                        nullptr, nullptr, inst, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

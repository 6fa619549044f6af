// A borderless window of the test programs that shows a buffer of pixels
// (0x00RRGGBB, top row first) and redraws on a timer.
#pragma once
#include <windows.h>

#include <vector>

inline void PaintPixels(HWND window, int width, int height, const std::vector<DWORD>& pixels) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  EndPaint(window, &ps);
}

// Shows the window at (x, y) in screen pixels with its first picture drawn,
// gives it WM_TIMER every `timerMs` and runs until it is destroyed.
inline int RunPixelWindow(HINSTANCE inst, WNDPROC proc, const wchar_t* className, int x, int y, int width,
                          int height, UINT timerMs) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, className, className, WS_POPUP, x, y, width, height, nullptr, nullptr,
                           inst, nullptr);
  if (!h) return 1;
  SendMessageW(h, WM_TIMER, 0, 0);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  SetTimer(h, 1, timerMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

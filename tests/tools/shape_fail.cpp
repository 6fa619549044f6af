// Gives a window an outline with nothing in it; the program must report it
// and end. Run by the end-to-end tests.
#include <windows.h>

#include "app/camera_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"Target", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ApplyOutlineOrEnd(window, {});
  return 3;  // not reached: the failure ends the program
}

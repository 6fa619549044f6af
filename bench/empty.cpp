// An empty Windows program: what Wine takes to start and end one, the
// anchor of a command's time. With "window" it makes a hidden window first,
// as any program that looks for another's window must: Wine then loads its
// window system and connects to the X server.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR line, int) {
  if (std::strstr(line, "window")) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    ::DestroyWindow(window);
  }
  return 0;
}

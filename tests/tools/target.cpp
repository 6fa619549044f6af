// A plain window that takes the focus: the window the user works in before
// moving to the camera. Run by the end-to-end tests; ends when closed.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = L"KirasoeTarget";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(0, L"KirasoeTarget", L"Target", WS_OVERLAPPEDWINDOW, 700, 600, 300, 200, nullptr,
                           nullptr, inst, nullptr);
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

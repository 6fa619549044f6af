// Kirasoe: the main window's load handling drives the whole start-up; from
// then on everything happens in event handlers on this one thread.
#include <windows.h>

#include "app/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kirasoe::Form1.Load();
  if (kirasoe::Form1.Loaded()) kirasoe::Form1.Visible(true);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

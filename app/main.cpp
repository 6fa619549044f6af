// Kirasoe: the main window's load handling drives the whole start-up; from
// then on everything happens in event handlers on this one thread.
#include <windows.h>

#include "app/Form1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Libraries loaded by name come from the system folder only, never from the
  // current folder or PATH, where anybody may have put a file of that name.
  ::SetDllDirectoryW(L"");
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  kirasoe::Form1.Load();
  if (kirasoe::Form1.Loaded()) kirasoe::Form1.Visible(true);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

// Kirasoe: the program starts its windows, and from then on everything
// happens in their handlers on this one thread.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Libraries loaded by name come from the system folder only, never from the
  // current folder or PATH, where anybody may have put a file of that name.
  ::SetDllDirectoryW(L"");
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  Program program;
  program.Start();
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  program.Exit();
}

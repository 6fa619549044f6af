// kirasoe.exe: a window program, so that a start from Explorer or a shortcut
// never opens a console.
#include <windows.h>

#include "app/entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return KirasoeMain(false); }

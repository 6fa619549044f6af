// The popup menu of the camera and the frame. Its check marks show the
// settings; the program carries out the command chosen.
#pragma once

#include <windows.h>

enum class MenuCommand { None, Black, Grey, White, Preview, Version, Exit };

struct MenuChecks {
  int lineColour = 1;  // 0 black, 1 grey, 2 white
  bool preview = false;
};

// Shows the menu at the pointer and waits; the command chosen, or None.
MenuCommand ShowPopupMenu(HWND owner, const MenuChecks& checks);

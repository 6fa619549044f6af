// Painting a window's client area.
#pragma once

#include <windows.h>

namespace win {

// Answers WM_PAINT: the client area in the system colour `background`, and
// `picture` (may be null) at its own size at the top-left corner.
void PaintPicture(HWND hwnd, int background, HBITMAP picture);

}  // namespace win

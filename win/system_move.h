// Moving a window with the system's own move loop, as a title bar does.
#pragma once

#include <windows.h>

namespace win {

// Runs the system's move loop for `hwnd` until the mouse button is released,
// with the window's contents shown while it moves. Returns when the move is
// over; the window's messages are handled meanwhile.
void MoveWithSystemLoop(HWND hwnd);

}  // namespace win

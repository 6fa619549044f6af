// Moving a window with the system's own move loop, as a title bar does.
#pragma once

#include <windows.h>

namespace win {

// Shows window contents while dragging for as long as the object lives. The
// user's setting is switched for this session only and never written to the
// profile, so that nothing of the user's stays changed when the program ends
// in the middle of a move, however it ends.
class ContentsShownWhileDragging {
 public:
  ContentsShownWhileDragging();
  ContentsShownWhileDragging(const ContentsShownWhileDragging&) = delete;
  ContentsShownWhileDragging& operator=(const ContentsShownWhileDragging&) = delete;
  ~ContentsShownWhileDragging();

 private:
  BOOL before_ = FALSE;
};

// Runs the system's move loop for `hwnd` until the mouse button is released,
// with the window's contents shown while it moves. Returns when the move is
// over; the window's messages are handled meanwhile.
void MoveWithSystemLoop(HWND hwnd);

}  // namespace win

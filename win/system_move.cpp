#include "win/system_move.h"

#include "win/system_changes.h"

namespace win {

void MoveWithSystemLoop(HWND hwnd) {
  ContentsShownWhileDragging contents;
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace win

#include "win/system_move.h"

namespace win {

ContentsShownWhileDragging::ContentsShownWhileDragging() {
  ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &before_, 0);
  ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
}

ContentsShownWhileDragging::~ContentsShownWhileDragging() {
  ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, before_, nullptr, 0);
}

void MoveWithSystemLoop(HWND hwnd) {
  ContentsShownWhileDragging contents;
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace win

#include "win/system_move.h"

namespace win {

void MoveWithSystemLoop(HWND hwnd) {
  UINT fullWindows = 0;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullWindows, 0);
  ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, 1, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  ::ReleaseCapture();
  ::SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullWindows, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

}  // namespace win

#include "win/paint.h"

#include "win/handles.h"

namespace win {

void PaintPicture(HWND hwnd, int background, HBITMAP picture) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(background));
  BITMAP bm{};
  if (picture && ::GetObjectW(picture, sizeof bm, &bm)) {
    MemoryDC source(::CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), picture);
    ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  ::EndPaint(hwnd, &ps);
}

}  // namespace win

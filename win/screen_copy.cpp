#include "win/screen_copy.h"

namespace win {

bool CopyScreen(BitmapBuffer& picture, const geometry::Rect& area) {
  WindowDC source(::GetDesktopWindow());
  if (!picture.Resize(area.Width(), area.Height())) return false;
  return source && ::BitBlt(picture.dc(), 0, 0, area.Width(), area.Height(), source.get(), area.left, area.top,
                            SRCCOPY);
}

void DrawPointer(BitmapBuffer& picture, const geometry::Rect& area) {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!picture.dc() || !::GetCursorInfo(&info) || !(info.flags & CURSOR_SHOWING) || !info.hCursor) return;
  ICONINFO icon{};
  if (!::GetIconInfo(info.hCursor, &icon)) return;
  // GetIconInfo hands out copies of the masks.
  const UniqueBitmap mask(icon.hbmMask), colour(icon.hbmColor);
  ::DrawIconEx(picture.dc(), info.ptScreenPos.x - static_cast<int>(icon.xHotspot) - area.left,
               info.ptScreenPos.y - static_cast<int>(icon.yHotspot) - area.top, info.hCursor, 0, 0, 0, nullptr,
               DI_NORMAL);
}

}  // namespace win

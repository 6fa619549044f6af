#include "win/screen_copy.h"

namespace win {

bool CopyScreen(BitmapBuffer& picture, const geometry::Rect& area) {
  WindowDC source(::GetDesktopWindow());
  if (!picture.Resize(area.Width(), area.Height())) return false;
  return source && ::BitBlt(picture.dc(), 0, 0, area.Width(), area.Height(), source.get(), area.left, area.top,
                            SRCCOPY);
}

}  // namespace win

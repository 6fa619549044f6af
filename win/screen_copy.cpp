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

bool ScreenSampler::Sample(const geometry::Rect& area, std::vector<std::uint32_t>& pixels) {
  WindowDC screen(::GetDesktopWindow());
  return screen && CopyFrom(screen.get(), area.left, area.top, area.Width(), area.Height(), pixels);
}

bool ScreenSampler::Read(const BitmapBuffer& picture, std::vector<std::uint32_t>& pixels) {
  return picture.dc() && CopyFrom(picture.dc(), 0, 0, picture.Width(), picture.Height(), pixels);
}

bool ScreenSampler::CopyFrom(HDC source, int left, int top, int width, int height,
                             std::vector<std::uint32_t>& pixels) {
  if (width <= 0 || height <= 0) return false;
  if (!section_ || size_.cx != width || size_.cy != height) {
    // One section for all the samples of a size: made again only when the
    // area's size changes.
    if (dc_ && old_) ::SelectObject(dc_.get(), old_);
    section_.reset();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    if (!dc_) dc_.reset(::CreateCompatibleDC(source));
    section_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!dc_ || !section_) return false;
    old_ = ::SelectObject(dc_.get(), section_.get());
    size_ = {width, height};
  }
  if (!::BitBlt(dc_.get(), 0, 0, width, height, source, left, top, SRCCOPY)) return false;
  ::GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits_);
  pixels.assign(first, first + static_cast<std::size_t>(width) * height);
  return true;
}

bool HideMasked(BitmapBuffer& picture, const masks::List& masks) {
  if (!picture.dc()) return false;
  for (const masks::Mask& m : masks::Clipped(masks, picture.Width(), picture.Height())) {
    const RECT r{m.rect.left, m.rect.top, m.rect.right, m.rect.bottom};
    UniqueBrush brush(::CreateSolidBrush(RGB(m.colour >> 16, (m.colour >> 8) & 0xFF, m.colour & 0xFF)));
    if (!brush || !::FillRect(picture.dc(), &r, brush.get())) return false;
  }
  ::GdiFlush();
  return true;
}

}  // namespace win

#include "toolkit/PictureBox.h"

#include <algorithm>

#include "toolkit/App.h"
#include "toolkit/Twips.h"

namespace tk {

// Width and height are usually set one after the other; the image is made
// once, when it is next drawn into or read.
void PictureBox::Width(float twipsValue) {
  width_ = twipsValue;
  want_.cx = std::max(twips::ToPixels(twipsValue, Screen::TwipsPerPixelX()), 0);
}

void PictureBox::Height(float twipsValue) {
  height_ = twipsValue;
  want_.cy = std::max(twips::ToPixels(twipsValue, Screen::TwipsPerPixelY()), 0);
}

void PictureBox::ApplySize() {
  const int cx = want_.cx, cy = want_.cy;
  if (dc_ && cx == size_.cx && cy == size_.cy) return;
  WindowDC screen(nullptr);
  MemoryDC dc(::CreateCompatibleDC(screen.get()));
  // A zero-sized image still needs a bitmap to be drawn into.
  UniqueBitmap bmp(::CreateCompatibleBitmap(screen.get(), std::max(cx, 1), std::max(cy, 1)));
  if (!dc || !bmp) {
    // No image at all rather than the previous one at the wrong size: a
    // failed capture must not look like a successful one.
    if (dc_) ::SelectObject(dc_.get(), old_);
    dc_.reset();
    image_.reset();
    old_ = nullptr;
    size_ = {0, 0};
    return;
  }
  HGDIOBJ old = ::SelectObject(dc.get(), bmp.get());
  RECT all{0, 0, std::max(cx, 1), std::max(cy, 1)};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  if (dc_) {
    ::BitBlt(dc.get(), 0, 0, std::min<int>(cx, size_.cx), std::min<int>(cy, size_.cy), dc_.get(), 0, 0, SRCCOPY);
    ::SelectObject(dc_.get(), old_);
  }
  dc_ = std::move(dc);
  image_ = std::move(bmp);
  old_ = old;
  size_ = {cx, cy};
}

HDC PictureBox::hDC() {
  ApplySize();
  return dc_.get();
}

UniqueBitmap PictureBox::CopyImage() {
  HDC src = hDC();
  UniqueBitmap copy(::CreateCompatibleBitmap(src, std::max<int>(size_.cx, 1), std::max<int>(size_.cy, 1)));
  MemoryDC dst(::CreateCompatibleDC(src));
  if (!copy || !dst) return {};
  SelectedObject sel(dst.get(), copy.get());
  ::BitBlt(dst.get(), 0, 0, size_.cx, size_.cy, src, 0, 0, SRCCOPY);
  return copy;
}

void PictureBox::Picture(HBITMAP picture) {
  BITMAP bm{};
  if (!picture || !::GetObjectW(picture, sizeof bm, &bm)) return;
  want_ = {bm.bmWidth, bm.bmHeight};
  ApplySize();
  if (!dc_) return;
  width_ = static_cast<float>(twips::FromPixels(bm.bmWidth, Screen::TwipsPerPixelX()));
  height_ = static_cast<float>(twips::FromPixels(bm.bmHeight, Screen::TwipsPerPixelY()));
  MemoryDC src(::CreateCompatibleDC(dc_.get()));
  SelectedObject sel(src.get(), picture);
  ::BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
}

}  // namespace tk

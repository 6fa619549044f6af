#include "win/bitmap_buffer.h"

#include <algorithm>

namespace win {

bool BitmapBuffer::Resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (dc_ && width == size_.cx && height == size_.cy) return true;
  Release();
  WindowDC screen(nullptr);
  MemoryDC dc(::CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  if (!dc || !bitmap) return false;
  old_ = ::SelectObject(dc.get(), bitmap.get());
  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  size_ = {width, height};
  return true;
}

void BitmapBuffer::Release() {
  if (dc_ && old_) ::SelectObject(dc_.get(), old_);
  old_ = nullptr;
  dc_.reset();
  bitmap_.reset();
  size_ = {0, 0};
}

UniqueBitmap BitmapBuffer::Copy() const {
  if (!dc_) return {};
  UniqueBitmap copy(::CreateCompatibleBitmap(dc_.get(), size_.cx, size_.cy));
  MemoryDC target(::CreateCompatibleDC(dc_.get()));
  if (!copy || !target) return {};
  SelectedObject selected(target.get(), copy.get());
  ::BitBlt(target.get(), 0, 0, size_.cx, size_.cy, dc_.get(), 0, 0, SRCCOPY);
  return copy;
}

UniqueBitmap CopyBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!::GetObjectW(bitmap, sizeof bm, &bm)) return {};
  WindowDC screen(nullptr);
  UniqueBitmap copy(::CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight));
  MemoryDC target(::CreateCompatibleDC(screen.get())), source(::CreateCompatibleDC(screen.get()));
  if (!copy || !target || !source) return {};
  SelectedObject a(target.get(), copy.get()), b(source.get(), bitmap);
  ::BitBlt(target.get(), 0, 0, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
  return copy;
}

}  // namespace win

#include "toolkit/Clipboard.h"

#include <cstring>
#include <vector>

namespace tk::Clipboard {
namespace {

bool Open(HWND owner) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    ::Sleep(20);
  }
  return false;
}

struct Closer {
  ~Closer() { ::CloseClipboard(); }
};

// A bottom-up 24-bit DIB in global memory, as the clipboard wants it.
HGLOBAL MakeDib(HBITMAP image) {
  BITMAP bm{};
  if (!::GetObjectW(image, sizeof bm, &bm)) return nullptr;
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  const DWORD stride = ((bm.bmWidth * 3 + 3) & ~3);
  h.biSizeImage = stride * bm.bmHeight;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, sizeof h + h.biSizeImage);
  if (!mem) return nullptr;
  auto* p = static_cast<BYTE*>(::GlobalLock(mem));
  std::memcpy(p, &h, sizeof h);
  WindowDC screen(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = h;
  int rows = ::GetDIBits(screen.get(), image, 0, bm.bmHeight, p + sizeof h, &info, DIB_RGB_COLORS);
  ::GlobalUnlock(mem);
  if (rows != bm.bmHeight) {
    ::GlobalFree(mem);
    return nullptr;
  }
  return mem;
}

UniqueBitmap CopyBitmap(HBITMAP image) {
  BITMAP bm{};
  if (!::GetObjectW(image, sizeof bm, &bm)) return {};
  WindowDC screen(nullptr);
  UniqueBitmap copy(::CreateCompatibleBitmap(screen.get(), bm.bmWidth, bm.bmHeight));
  MemoryDC dst(::CreateCompatibleDC(screen.get())), src(::CreateCompatibleDC(screen.get()));
  if (!copy || !dst || !src) return {};
  SelectedObject a(dst.get(), copy.get()), b(src.get(), image);
  ::BitBlt(dst.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
  return copy;
}

}  // namespace

bool SetImage(HWND owner, UniqueBitmap bitmap) {
  // The DIB is made before the clipboard is opened, so that it stays open
  // only briefly.
  if (!bitmap) return false;
  HGLOBAL dib = MakeDib(bitmap.get());
  if (!Open(owner)) {
    if (dib) ::GlobalFree(dib);
    return false;
  }
  Closer closer;
  ::EmptyClipboard();
  bool ok = ::SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
  if (ok) bitmap.release();  // the clipboard owns it now
  if (dib) {
    if (::SetClipboardData(CF_DIB, dib)) dib = nullptr;
    else ::GlobalFree(dib);
  }
  return ok;
}

UniqueBitmap GetPicture(HWND owner) {
  if (!Open(owner)) return {};
  Closer closer;
  auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  return bitmap ? CopyBitmap(bitmap) : UniqueBitmap();
}

}  // namespace tk::Clipboard

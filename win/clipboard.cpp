#include "win/clipboard.h"

#include <cstring>
#include <vector>

#include "imagelib/Png.h"
#include "win/bitmap_buffer.h"
#include "win/window.h"
#include "win/failure_log.h"

namespace win::clipboard {
namespace {

OpenFunction g_open = &::OpenClipboard;

bool Open(HWND owner) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (g_open(owner)) return true;
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

// The picture as a PNG file in global memory, for the registered format
// "PNG" that many programs paste first.
HGLOBAL MakePng(HBITMAP image) {
  BITMAP bm{};
  if (!::GetObjectW(image, sizeof bm, &bm)) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const std::size_t stride = (static_cast<std::size_t>(bm.bmWidth) * 3 + 3) & ~std::size_t{3};
  std::vector<BYTE> rows(stride * static_cast<std::size_t>(bm.bmHeight));
  WindowDC screen(nullptr);
  if (::GetDIBits(screen.get(), image, 0, bm.bmHeight, rows.data(), &info, DIB_RGB_COLORS) != bm.bmHeight) return nullptr;
  imagelib::Image picture{bm.bmWidth, bm.bmHeight, {}};
  picture.rgb.resize(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight * 3);
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) {
      const BYTE* bgr = &rows[y * stride + x * 3];
      std::uint8_t* rgb = &picture.rgb[(static_cast<std::size_t>(y) * bm.bmWidth + x) * 3];
      rgb[0] = bgr[2], rgb[1] = bgr[1], rgb[2] = bgr[0];
    }
  const std::vector<std::uint8_t> png = imagelib::EncodePng(picture);
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, png.size());
  if (!mem) return nullptr;
  std::memcpy(::GlobalLock(mem), png.data(), png.size());
  ::GlobalUnlock(mem);
  return mem;
}

UINT PngFormat() {
  static const UINT format = ::RegisterClipboardFormatW(L"PNG");
  return format;
}

// The clipboard's owner: a message-only window that makes the bitmap and the
// device-independent bitmap from the program's picture only when a program
// asks for them, and before the program ends. Most captures are never
// pasted, and at full-screen size every copy and hand-over costs about as
// much as the screen copy itself.
class Owner : public Window {
 public:
  static Owner& Instance() {
    static Owner owner;
    return owner;
  }
  static Owner& Created() {
    Owner& owner = Instance();
    if (!owner.hwnd())
      owner.Create({.className = L"KirasoeClipboardOwner", .title = L"", .style = 0, .exStyle = 0, .classStyle = 0,
                    .owner = HWND_MESSAGE});
    return owner;
  }

  void Offer(const BitmapBuffer* picture) {
    picture_ = picture;
    bitmapMade_ = dibMade_ = pngMade_ = false;
  }

  // What the system asks for when the owner goes away, done before the
  // process ends on its own.
  void RenderAll() noexcept {
    if (!picture_ || !hwnd() || !Open(hwnd())) return;
    if (::GetClipboardOwner() == hwnd()) {
      Render(CF_BITMAP);
      Render(CF_DIB);
      Render(PngFormat());
    }
    ::CloseClipboard();
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    switch (msg) {
      case WM_RENDERFORMAT: Render(static_cast<UINT>(wp)); return 0;
      case WM_RENDERALLFORMATS: RenderAll(); return 0;
      case WM_DESTROYCLIPBOARD: picture_ = nullptr; return 0;
      default: return Default(msg, wp, lp);
    }
  }

 private:
  // Called while the clipboard is open, by whoever asked.
  void Render(UINT format) noexcept {
    if (!picture_) return;
    if (format == CF_BITMAP && !bitmapMade_) {
      UniqueBitmap copy = picture_->Copy();
      bitmapMade_ = copy && ::SetClipboardData(CF_BITMAP, copy.get());
      if (bitmapMade_) copy.release();  // the clipboard owns it now
    } else if (format == CF_DIB && !dibMade_) {
      const UniqueBitmap copy = picture_->Copy();
      HGLOBAL dib = copy ? MakeDib(copy.get()) : nullptr;
      dibMade_ = dib && ::SetClipboardData(CF_DIB, dib);
      if (dib && !dibMade_) ::GlobalFree(dib);
    } else if (format == PngFormat() && format && !pngMade_) {
      RenderPng();
    }
  }

  void RenderPng() noexcept {
    try {
      const UniqueBitmap copy = picture_->Copy();
      HGLOBAL png = copy ? MakePng(copy.get()) : nullptr;
      pngMade_ = png && ::SetClipboardData(PngFormat(), png);
      if (png && !pngMade_) ::GlobalFree(png);
    } catch (...) {
      // Out of memory: that format stays empty, the others are there.
      LogCurrentException(L"clipboard PNG");
    }
  }

  const BitmapBuffer* picture_ = nullptr;
  bool bitmapMade_ = false, dibMade_ = false, pngMade_ = false;
};

}  // namespace

bool Offer(const BitmapBuffer& picture) {
  if (!picture.dc()) return false;
  Owner& owner = Owner::Created();
  if (!Open(owner.hwnd())) return false;
  Closer closer;
  ::EmptyClipboard();  // the owner lets go of an earlier picture here
  // Promises; WM_RENDERFORMAT keeps them.
  ::SetClipboardData(CF_BITMAP, nullptr);
  ::SetClipboardData(CF_DIB, nullptr);
  if (PngFormat()) ::SetClipboardData(PngFormat(), nullptr);
  owner.Offer(&picture);
  return ::IsClipboardFormatAvailable(CF_BITMAP) != 0;
}

void Withdraw() { Owner::Instance().Offer(nullptr); }

void RenderBeforeExit() noexcept {
  try {
    Owner::Instance().RenderAll();
  } catch (...) {
    LogCurrentException(L"clipboard at exit");
  }
}

void OpenWith(OpenFunction open) { g_open = open ? open : &::OpenClipboard; }

UniqueBitmap GetPicture() {
  if (!Open(nullptr)) return {};
  Closer closer;
  auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  return bitmap ? CopyBitmap(bitmap) : UniqueBitmap();
}

}  // namespace win::clipboard

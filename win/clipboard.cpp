#include "win/clipboard.h"

#include <cstring>
#include <initializer_list>
#include <optional>
#include <vector>

#include "imagelib/Png.h"
#include "win/bitmap_buffer.h"
#include "win/window.h"
#include "win/failure_log.h"
#include "win/files.h"

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

// A bitmap's pixels as 24-bit rows padded to four bytes, top row first or
// last, with the header that describes them.
struct Rows24 {
  BITMAPINFOHEADER header{};
  std::vector<BYTE> bits;
  std::size_t stride = 0;
};

std::optional<Rows24> ReadRows(HBITMAP image, bool topDown) {
  BITMAP bm{};
  if (!::GetObjectW(image, sizeof bm, &bm)) return std::nullopt;
  Rows24 rows;
  rows.stride = (static_cast<std::size_t>(bm.bmWidth) * 3 + 3) & ~std::size_t{3};
  rows.header = {sizeof(BITMAPINFOHEADER), bm.bmWidth, topDown ? -bm.bmHeight : bm.bmHeight, 1, 24, BI_RGB,
                 static_cast<DWORD>(rows.stride * static_cast<std::size_t>(bm.bmHeight)), 0, 0, 0, 0};
  rows.bits.resize(rows.header.biSizeImage);
  BITMAPINFO info{};
  info.bmiHeader = rows.header;
  WindowDC screen(nullptr);
  if (::GetDIBits(screen.get(), image, 0, bm.bmHeight, rows.bits.data(), &info, DIB_RGB_COLORS) != bm.bmHeight)
    return std::nullopt;
  return rows;
}

// `parts`, one after the other, in global memory for the clipboard.
HGLOBAL InGlobalMemory(std::initializer_list<std::pair<const void*, std::size_t>> parts) {
  std::size_t size = 0;
  for (const auto& part : parts) size += part.second;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
  auto* p = mem ? static_cast<BYTE*>(::GlobalLock(mem)) : nullptr;
  if (!p) {
    LogFailure(L"clipboard", SystemMessage(::GetLastError()));
    if (mem) ::GlobalFree(mem);
    return nullptr;
  }
  for (const auto& [data, n] : parts) p = static_cast<BYTE*>(std::memcpy(p, data, n)) + n;
  ::GlobalUnlock(mem);
  return mem;
}

// A bottom-up 24-bit DIB, as the clipboard wants it.
HGLOBAL MakeDib(HBITMAP image) {
  const std::optional<Rows24> rows = ReadRows(image, false);
  if (!rows) return nullptr;
  return InGlobalMemory({{&rows->header, sizeof rows->header}, {rows->bits.data(), rows->bits.size()}});
}

// The picture as a PNG file, for the registered format "PNG" that many
// programs paste first.
HGLOBAL MakePng(HBITMAP image) {
  const std::optional<Rows24> rows = ReadRows(image, true);
  if (!rows) return nullptr;
  const int width = rows->header.biWidth, height = -rows->header.biHeight;
  imagelib::Image picture{width, height, {}};
  picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const BYTE* bgr = &rows->bits[y * rows->stride + x * 3];
      std::uint8_t* rgb = &picture.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      rgb[0] = bgr[2], rgb[1] = bgr[1], rgb[2] = bgr[0];
    }
  const std::vector<std::uint8_t> png = imagelib::EncodePng(picture);
  return InGlobalMemory({{png.data(), png.size()}});
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

bool Put(const BitmapBuffer& picture) {
  if (!Offer(picture)) return false;
  Owner::Instance().RenderAll();
  // Every form is the clipboard's own now: nothing refers to the picture.
  Withdraw();
  return true;
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

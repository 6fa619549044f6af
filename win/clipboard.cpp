#include "win/clipboard.h"

#include <cstring>
#include <vector>

#include "win/bitmap_buffer.h"
#include "win/window.h"

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

// The clipboard's owner: a message-only window that keeps a copy of the
// picture and makes the device-independent bitmap only when a program asks
// for it. Most captures are never pasted as a DIB, and at full-screen size
// making and handing over one costs about as much as the screen copy.
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

  void Offer(UniqueBitmap source) { source_ = std::move(source); }

  // What the system asks for when the owner goes away, done before the
  // process ends on its own.
  void RenderAll() noexcept {
    if (!source_ || !hwnd() || !Open(hwnd())) return;
    if (::GetClipboardOwner() == hwnd()) RenderDib();
    ::CloseClipboard();
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    switch (msg) {
      case WM_RENDERFORMAT: OnRenderFormat(static_cast<UINT>(wp)); return 0;
      case WM_RENDERALLFORMATS: RenderAll(); return 0;
      case WM_DESTROYCLIPBOARD: source_.reset(); return 0;
      default: return Default(msg, wp, lp);
    }
  }

 private:
  void OnRenderFormat(UINT format) noexcept {
    if (format == CF_DIB) RenderDib();
  }
  // Called while the clipboard is open, by whoever asked.
  void RenderDib() noexcept {
    if (!source_) return;
    HGLOBAL dib = MakeDib(source_.get());
    if (dib && !::SetClipboardData(CF_DIB, dib)) ::GlobalFree(dib);
    source_.reset();
  }

  UniqueBitmap source_;
};

}  // namespace

bool SetImage(UniqueBitmap bitmap) {
  if (!bitmap) return false;
  Owner& owner = Owner::Created();
  // The DIB is made from a copy of its own, when it is asked for.
  UniqueBitmap source = CopyBitmap(bitmap.get());
  if (!Open(owner.hwnd())) return false;
  Closer closer;
  ::EmptyClipboard();  // the owner lets go of an earlier picture here
  bool ok = ::SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
  if (ok) bitmap.release();  // the clipboard owns it now
  if (source) {
    ::SetClipboardData(CF_DIB, nullptr);  // a promise; WM_RENDERFORMAT keeps it
    owner.Offer(std::move(source));
  }
  return ok;
}

void RenderBeforeExit() noexcept {
  try {
    Owner::Instance().RenderAll();
  } catch (...) {
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

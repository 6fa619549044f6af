// Move-only owners of GDI and window-manager handles: one owner per handle.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class Handle, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Handle{})) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Handle{}));
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  // Gives up ownership, for a handle that someone else now owns.
  Handle release() { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) {
    if (h_) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_{};
};

struct GdiObjectTraits {
  static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  static void Close(HDC h) { ::DeleteDC(h); }
};
struct IconTraits {
  static void Close(HICON h) { ::DestroyIcon(h); }
};
struct KernelHandleTraits {
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct MenuTraits {
  static void Close(HMENU h) { ::DestroyMenu(h); }
};

using UniqueRgn = Unique<HRGN, GdiObjectTraits>;
using UniqueBitmap = Unique<HBITMAP, GdiObjectTraits>;
using UniqueBrush = Unique<HBRUSH, GdiObjectTraits>;
using UniqueFont = Unique<HFONT, GdiObjectTraits>;
using UniquePen = Unique<HPEN, GdiObjectTraits>;
using MemoryDC = Unique<HDC, MemoryDcTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;

// A device context from GetDC, released in the same scope.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a device context, put back on scope exit.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win

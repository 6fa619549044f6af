// The one window wrapper: a C++ object attached to its HWND on WM_NCCREATE,
// with a noexcept window procedure that forwards to OnMessage.
#pragma once

#include <windows.h>

namespace tk {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  HWND hWnd() const { return hwnd_; }

 protected:
  // Registers the class once per name and creates the window (hidden).
  bool CreateNative(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                    const wchar_t* title, int x, int y, int w, int h, HICON icon, HWND owner = nullptr);
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept { return ::DefWindowProcW(hwnd_, msg, wp, lp); }
  // Called after WM_NCDESTROY, when the HWND is gone.
  virtual void OnDetached() noexcept {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HWND hwnd_ = nullptr;
};

}  // namespace tk

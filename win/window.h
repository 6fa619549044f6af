// The one window base: a C++ object attached to its window on WM_NCCREATE,
// with a noexcept window procedure that forwards to OnMessage. Geometry is
// in screen pixels.
#pragma once

#include <windows.h>

#include "core/geometry.h"
#include "win/module.h"

namespace win {

// How a window of a class is made.
struct WindowSpec {
  const wchar_t* className;
  const wchar_t* title = L"Kirasoe";
  DWORD style = WS_POPUP;
  DWORD exStyle = WS_EX_TOOLWINDOW;
  UINT classStyle = CS_DBLCLKS;
  HWND owner = nullptr;
  HICON icon = nullptr;
  // Where the window is made. A window manager may keep the first geometry
  // it sees and give it back when the window is shown again.
  geometry::Rect at{0, 0, 100, 100};
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }

  // The window's outer rectangle on the screen.
  geometry::Rect Bounds() const;
  // Virtual, so that a window that keeps its place knows where that is.
  virtual void Place(const geometry::Rect& r);
  void Show();           // shows and activates
  void ShowNoActivate();
  void Hide();
  bool Visible() const;
  void Destroy();

 protected:
  // Registers the class once and creates the window, hidden, where `kind`
  // says. False when the system refused.
  bool Create(const WindowSpec& kind);
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept { return Default(msg, wp, lp); }
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) noexcept { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HWND hwnd_ = nullptr;
};

// A hidden window that owns the windows with a title bar, so that they get
// no button in the taskbar.
HWND TaskbarlessOwner();

}  // namespace win

#include "app/capture_flash.h"

void CaptureFlash::Open(const geometry::Rect& area) {
  if (!Exists() && !Create({.className = L"Kirasoe.Flash"})) return;
  Place(area);
  ShowNoActivate();
}

LRESULT CaptureFlash::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_ERASEBKGND) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    ::FillRect(reinterpret_cast<HDC>(wp), &client, ::GetSysColorBrush(COLOR_HIGHLIGHTTEXT));
    return 1;
  }
  return Default(msg, wp, lp);
}

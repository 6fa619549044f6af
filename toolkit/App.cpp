#include "toolkit/App.h"

#include "toolkit/Clipboard.h"
#include "toolkit/Form.h"
#include "toolkit/Twips.h"

#include <vector>

namespace tk {

namespace App {

HINSTANCE hInstance() { return ::GetModuleHandleW(nullptr); }

static std::wstring ModulePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

std::wstring Path() {
  std::wstring p = ModulePath();
  auto slash = p.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  std::wstring dir = p.substr(0, slash);
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';  // drive root keeps its "\"
  return dir;
}

std::wstring EXEName() {
  std::wstring p = ModulePath();
  auto slash = p.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? p : p.substr(slash + 1);
  auto dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace App

namespace Screen {

static int Dpi(int axis) {
  HDC dc = ::GetDC(nullptr);
  int dpi = dc ? ::GetDeviceCaps(dc, axis) : 96;
  if (dc) ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

double TwipsPerPixelX() { return 1440.0 / Dpi(LOGPIXELSX); }
double TwipsPerPixelY() { return 1440.0 / Dpi(LOGPIXELSY); }
float Width() { return static_cast<float>(twips::FromPixels(::GetSystemMetrics(SM_CXSCREEN), TwipsPerPixelX())); }
float Height() { return static_cast<float>(twips::FromPixels(::GetSystemMetrics(SM_CYSCREEN), TwipsPerPixelY())); }

std::vector<placement::Monitor> Monitors() {
  std::vector<placement::Monitor> all;
  auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
      const RECT& a = info.rcMonitor;
      const RECT& w = info.rcWork;
      reinterpret_cast<std::vector<placement::Monitor>*>(data)->push_back(
          {{a.left, a.top, a.right, a.bottom}, {w.left, w.top, w.right, w.bottom}});
    }
    return TRUE;
  };
  ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool BringOnScreen(Form& form) {
  RECT r{};
  ::GetWindowRect(form.hWnd(), &r);
  auto moved = placement::BringOnScreen({r.left, r.top, r.right, r.bottom}, Monitors());
  if (!moved) return false;
  ::SetWindowPos(form.hWnd(), nullptr, moved->left, moved->top, moved->Width(), moved->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

}  // namespace Screen

void DoEvents() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void End() {
  Clipboard::RenderBeforeExit();
  ::ExitProcess(0);
}

void MsgBox(const std::wstring& text) {
  ::MessageBoxW(::GetActiveWindow(), text.c_str(), App::Title(), MB_OK);
}

bool AskYesNo(const std::wstring& text) {
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), App::Title(), MB_YESNO) == IDYES;
}

namespace {

HMODULE Dwm() {
  static HMODULE dwm = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return dwm;
}

// A function of dwmapi.dll, or null where there is none (older systems).
template <typename F>
F DwmFunction(const char* name) {
  return Dwm() ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(Dwm(), name))) : nullptr;
}

}  // namespace

void DisableTransitions(HWND hwnd) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  if (auto set = DwmFunction<SetAttribute>("DwmSetWindowAttribute")) {
    BOOL on = TRUE;
    set(hwnd, 3 /* DWMWA_TRANSITIONS_FORCEDISABLED */, &on, sizeof on);
  }
}

void SettleScreen() {
  ::GdiFlush();
  using Enabled = HRESULT(WINAPI*)(BOOL*);
  using Flush = HRESULT(WINAPI*)();
  auto enabled = DwmFunction<Enabled>("DwmIsCompositionEnabled");
  auto flush = DwmFunction<Flush>("DwmFlush");
  BOOL composed = FALSE;
  if (enabled && flush && SUCCEEDED(enabled(&composed)) && composed && SUCCEEDED(flush())) return;
  // No compositor (Wine, classic themes): the windows uncovered repaint
  // themselves, and window changes and screen reads may travel on separate
  // connections to the display. A frame's time lets both arrive.
  ::Sleep(25);
}

std::string ToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(const std::string& s) {
  if (s.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

}  // namespace tk

// A small helper that the end-to-end tests run inside Wine to look at the
// program's windows from the Windows side: titles in UTF-16, classes, styles,
// z-order, regions, message boxes, metrics. Prints JSON on stdout.
//
//   probe windows [part]           top-level windows (of processes whose image path contains part)
//   probe close HWND               posts WM_CLOSE
//   probe dialog HWND              texts of a dialog's child windows
//   probe press HWND TEXT          clicks the child button with that text
//   probe metrics                  screen size, dpi, SM_CYFULLSCREEN, SM_CYCAPTION
//   probe region HWND              the window region's rectangles
//   probe redraw HWND              repaints a window now
//   probe move HWND X Y            moves a window (as the user would)
//   probe clipboard FILE           formats on the clipboard; its DIB written as a BMP file
//   probe settext TEXT             puts a text on the clipboard
//   probe watch PART CLASS SECONDS waits for a visible window of that class and
//                                  prints its rectangle (catches short-lived windows)
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Wide(const char* s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
  return w;
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') { out += '\\'; out += (char)c; }
    else if (c < 0x20) { char b[8]; snprintf(b, sizeof b, "\\u%04x", c); out += b; }
    else out += (char)c;
  }
  return out + "\"";
}

std::wstring Text(HWND h) {
  wchar_t buf[1024] = {};
  InternalGetWindowText(h, buf, 1024);  // no message: a busy window cannot block the probe
  return buf;
}

std::wstring ClassOf(HWND h) {
  wchar_t buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

HWND ParseHwnd(const char* s) { return (HWND)(uintptr_t)strtoull(s, nullptr, 0); }

// Full image paths, lower case, so that a test can pick its own instance.
std::map<DWORD, std::wstring> ProcessNames() {
  std::map<DWORD, std::wstring> names;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{};
  pe.dwSize = sizeof pe;
  if (Process32FirstW(snap, &pe)) {
    do {
      std::wstring name = pe.szExeFile;
      if (HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pe.th32ProcessID)) {
        wchar_t path[MAX_PATH * 2];
        DWORD n = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(p, 0, path, &n)) name = path;
        CloseHandle(p);
      }
      for (auto& c : name) c = towlower(c);
      names[pe.th32ProcessID] = name;
    } while (Process32NextW(snap, &pe));
  }
  CloseHandle(snap);
  return names;
}

int Windows(const char* exe) {
  auto names = ProcessNames();
  std::wstring want = exe ? Wide(exe) : L"";
  for (auto& c : want) c = towlower(c);
  std::vector<HWND> all;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) all.push_back(h);
  printf("[");
  bool first = true;
  int z = 0;
  for (HWND h : all) {
    ++z;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (!want.empty() && names[pid].find(want) == std::wstring::npos) continue;
    RECT r{}, c{};
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    POINT at{0, 0};
    ClientToScreen(h, &at);
    LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    printf("%s{\"hwnd\":%llu,\"pid\":%lu,\"z\":%d,\"class\":%s,\"title\":%s,\"visible\":%s,\"enabled\":%s,"
           "\"topmost\":%s,\"toolwindow\":%s,\"style\":%ld,\"exstyle\":%ld,"
           "\"rect\":[%ld,%ld,%ld,%ld],\"client\":[%ld,%ld],\"clientAt\":[%ld,%ld],\"foreground\":%s}",
           first ? "" : ",", (unsigned long long)(uintptr_t)h, pid, z, Json(Utf8(ClassOf(h))).c_str(),
           Json(Utf8(Text(h))).c_str(), IsWindowVisible(h) ? "true" : "false",
           IsWindowEnabled(h) ? "true" : "false", (ex & WS_EX_TOPMOST) ? "true" : "false",
           (ex & WS_EX_TOOLWINDOW) ? "true" : "false", style, ex, r.left, r.top, r.right, r.bottom, c.right,
           c.bottom, at.x, at.y, GetForegroundWindow() == h ? "true" : "false");
    first = false;
  }
  printf("]\n");
  return 0;
}

// Edit and combo boxes keep their text to themselves: ask, but never wait long.
std::wstring ControlText(HWND h) {
  wchar_t buf[1024] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, 1024, (LPARAM)buf, SMTO_ABORTIFHUNG, 1000, &got)) return Text(h);
  return buf;
}

int Dialog(HWND dlg) {
  std::vector<HWND> kids;
  EnumChildWindows(dlg, [](HWND h, LPARAM p) -> BOOL { ((std::vector<HWND>*)p)->push_back(h); return TRUE; },
                   (LPARAM)&kids);
  printf("{\"title\":%s,\"children\":[", Json(Utf8(Text(dlg))).c_str());
  for (size_t i = 0; i < kids.size(); ++i)
    printf("%s{\"class\":%s,\"text\":%s}", i ? "," : "", Json(Utf8(ClassOf(kids[i]))).c_str(),
           Json(Utf8(ControlText(kids[i]))).c_str());
  printf("]}\n");
  return 0;
}

// Types `text` into the first edit field of a dialog, as a user who clicked it would.
int Fill(HWND dlg, const char* text) {
  HWND edit = nullptr;
  EnumChildWindows(dlg, [](HWND h, LPARAM p) -> BOOL {
    if (_wcsicmp(ClassOf(h).c_str(), L"Edit") != 0 || !IsWindowVisible(h)) return TRUE;
    *(HWND*)p = h;
    return FALSE;
  }, (LPARAM)&edit);
  if (!edit || !SetWindowTextW(edit, Wide(text).c_str())) { fprintf(stderr, "no edit field\n"); return 1; }
  printf("{}\n");
  return 0;
}

int Press(HWND dlg, const char* text) {
  if (text[0] == '#') {  // by control ID: #1 OK, #2 cancel, #6 yes, #7 no
    int id = atoi(text + 1);
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
    printf("{}\n");
    return 0;
  }
  std::wstring want = Wide(text);
  struct Ctx { std::wstring want; HWND found; } ctx{want, nullptr};
  EnumChildWindows(dlg, [](HWND h, LPARAM p) -> BOOL {
    auto* c = (Ctx*)p;
    std::wstring t = Text(h);
    std::wstring plain;
    for (wchar_t ch : t) if (ch != L'&') plain += ch;
    if (_wcsicmp(ClassOf(h).c_str(), L"Button") == 0 && (t == c->want || plain == c->want)) { c->found = h; return FALSE; }
    return TRUE;
  }, (LPARAM)&ctx);
  if (!ctx.found) { fprintf(stderr, "no button %s\n", text); return 1; }
  PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ctx.found), BN_CLICKED), (LPARAM)ctx.found);
  printf("{}\n");
  return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR m, HDC, LPRECT, LPARAM first) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(m, &info);
  const RECT& a = info.rcMonitor;
  const RECT& w = info.rcWork;
  printf("%s{\"rect\":[%ld,%ld,%ld,%ld],\"work\":[%ld,%ld,%ld,%ld],\"primary\":%s}", *(bool*)first ? "" : ",",
         a.left, a.top, a.right, a.bottom, w.left, w.top, w.right, w.bottom,
         (info.dwFlags & MONITORINFOF_PRIMARY) ? "true" : "false");
  *(bool*)first = false;
  return TRUE;
}

int Metrics() {
  HDC dc = GetDC(nullptr);
  printf("{\"cx\":%d,\"cy\":%d,\"dpi\":%d,\"dpiy\":%d,\"cyfullscreen\":%d,\"cycaption\":%d,"
         "\"virtual\":[%d,%d,%d,%d],\"monitors\":[",
         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(dc, LOGPIXELSX),
         GetDeviceCaps(dc, LOGPIXELSY), GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYCAPTION),
         GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
         GetSystemMetrics(SM_CYVIRTUALSCREEN));
  bool first = true;
  EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, (LPARAM)&first);
  printf("]}\n");
  ReleaseDC(nullptr, dc);
  return 0;
}

int Region(HWND h) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(h, rgn);
  printf("{\"kind\":%d,\"rects\":[", kind);
  if (kind != ERROR) {
    DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> buf(size);
    auto* data = (RGNDATA*)buf.data();
    if (size && GetRegionData(rgn, size, data)) {
      auto* r = (RECT*)data->Buffer;
      for (DWORD i = 0; i < data->rdh.nCount; ++i)
        printf("%s[%ld,%ld,%ld,%ld]", i ? "," : "", r[i].left, r[i].top, r[i].right, r[i].bottom);
    }
  }
  printf("]}\n");
  DeleteObject(rgn);
  return 0;
}

int Clipboard(const char* file) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(20);
  printf("{\"formats\":[");
  bool first = true;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    printf("%s%u", first ? "" : ",", f);
    first = false;
  }
  printf("]");
  if (HANDLE h = GetClipboardData(CF_DIB)) {
    auto* bih = (BITMAPINFOHEADER*)GlobalLock(h);
    SIZE_T size = GlobalSize(h);
    DWORD colours = bih->biClrUsed ? bih->biClrUsed : (bih->biBitCount <= 8 ? 1u << bih->biBitCount : 0);
    DWORD masks = bih->biCompression == BI_BITFIELDS ? 12 : 0;
    BITMAPFILEHEADER bf{};
    bf.bfType = 0x4D42;
    bf.bfSize = (DWORD)(sizeof bf + size);
    bf.bfOffBits = (DWORD)(sizeof bf + bih->biSize + masks + colours * 4);
    if (FILE* out = fopen(file, "wb")) {
      fwrite(&bf, sizeof bf, 1, out);
      fwrite(bih, size, 1, out);
      fclose(out);
    }
    printf(",\"width\":%ld,\"height\":%ld,\"bits\":%u", bih->biWidth, bih->biHeight, bih->biBitCount);
    GlobalUnlock(h);
  }
  if (HBITMAP b = (HBITMAP)GetClipboardData(CF_BITMAP)) {
    BITMAP bm{};
    GetObjectW(b, sizeof bm, &bm);
    printf(",\"bitmap\":[%ld,%ld]", bm.bmWidth, bm.bmHeight);
  }
  if (HANDLE t = GetClipboardData(CF_UNICODETEXT)) {
    printf(",\"text\":%s", Json(Utf8((const wchar_t*)GlobalLock(t))).c_str());
    GlobalUnlock(t);
  }
  printf("}\n");
  CloseClipboard();
  return 0;
}

// "hex:" and UTF-8 in hex: any text, whatever the code page Wine gives argv.
int SetText(const char* text) {
  std::string bytes = text;
  if (bytes.rfind("hex:", 0) == 0) {
    std::string hex = bytes.substr(4);
    bytes.clear();
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += (char)strtol(hex.substr(i, 2).c_str(), nullptr, 16);
  }
  std::wstring w = Wide(bytes.c_str());
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(mem), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(mem);
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(20);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  printf("{}\n");
  return 0;
}

// Holds the clipboard open for a while, as a slow program may.
int Hold(double seconds) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(20);
  printf("{}\n");
  fflush(stdout);
  Sleep((DWORD)(seconds * 1000));
  CloseClipboard();
  return 0;
}

// Holds a system-wide key combination ("MODIFIERS VK" as numbers) for
// `seconds`, as another program that took it first.
int HoldHotKey(unsigned modifiers, unsigned vk, double seconds) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const bool held = RegisterHotKey(owner, 1, modifiers, vk) != 0;
  printf("{\"held\":%s}\n", held ? "true" : "false");
  fflush(stdout);
  DWORD end = GetTickCount() + (DWORD)(seconds * 1000);
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
  return 0;
}

// The clipboard's registered format "PNG", written to `file` as it is.
int ClipboardPng(const char* file) {
  const UINT png = RegisterClipboardFormatW(L"PNG");
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(20);
  HANDLE h = GetClipboardData(png);
  SIZE_T size = h ? GlobalSize(h) : 0;
  if (h) {
    FILE* f = _wfopen(Wide(file).c_str(), L"wb");
    fwrite(GlobalLock(h), 1, size, f);
    GlobalUnlock(h);
    fclose(f);
  }
  CloseClipboard();
  printf("{\"format\":%u,\"size\":%llu}\n", png, (unsigned long long)size);
  return 0;
}

// The standard arrow pointer, pixel by pixel from its masks: "T" shows what
// is beneath, "I" inverts it, "#rrggbb" covers it, "?" blends (partly
// transparent). With its hot spot.
int Pointer() {
  HCURSOR arrow = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
  ICONINFO info{};
  if (!GetIconInfo(arrow, &info)) return 1;
  BITMAP bm{};
  GetObjectW(info.hbmMask, sizeof bm, &bm);
  const int w = bm.bmWidth, h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  HDC dc = GetDC(nullptr);
  auto bits = [&](HBITMAP b, int rows) {
    std::vector<DWORD> px((size_t)w * rows);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(dc, b, 0, rows, px.data(), &bi, DIB_RGB_COLORS);
    return px;
  };
  std::vector<DWORD> mask = bits(info.hbmMask, info.hbmColor ? h : 2 * h);
  std::vector<DWORD> colour = info.hbmColor ? bits(info.hbmColor, h) : std::vector<DWORD>();
  bool alpha = false;
  for (DWORD c : colour) alpha = alpha || (c >> 24);
  printf("{\"hotspot\":[%lu,%lu],\"rows\":[", info.xHotspot, info.yHotspot);
  for (int y = 0; y < h; ++y) {
    printf("%s[", y ? "," : "");
    for (int x = 0; x < w; ++x) {
      const bool keep = mask[(size_t)y * w + x] & 0xFFFFFF;
      const DWORD xorc = info.hbmColor ? colour[(size_t)y * w + x] : mask[(size_t)(y + h) * w + x];
      const DWORD a = xorc >> 24, rgb = xorc & 0xFFFFFF;
      char cell[16];
      if (alpha) snprintf(cell, sizeof cell, a == 0 ? "T" : a == 255 ? "#%06lx" : "?", rgb);
      else if (keep) snprintf(cell, sizeof cell, rgb == 0 ? "T" : rgb == 0xFFFFFF ? "I" : "?");
      else snprintf(cell, sizeof cell, "#%06lx", rgb);
      printf("%s\"%s\"", x ? "," : "", cell);
    }
    printf("]");
  }
  printf("]}\n");
  ReleaseDC(nullptr, dc);
  return 0;
}

// The first visible window of class `cls` in a process whose image path
// contains `part`, waiting up to `seconds`; null when none came.
HWND WaitForWindow(const char* part, const char* cls, double seconds) {
  std::wstring want = Wide(part), wantClass = Wide(cls);
  for (auto& c : want) c = towlower(c);
  DWORD end = GetTickCount() + (DWORD)(seconds * 1000);
  auto names = ProcessNames();
  while (GetTickCount() < end) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (!names.count(pid)) names = ProcessNames();
      if (names[pid].find(want) == std::wstring::npos || ClassOf(h) != wantClass || !IsWindowVisible(h)) continue;
      return h;
    }
    Sleep(1);
  }
  return nullptr;
}

int Watch(const char* part, const char* cls, double seconds) {
  HWND h = WaitForWindow(part, cls, seconds);
  if (!h) {
    printf("{\"rect\":null}\n");
    return 0;
  }
  RECT r{};
  GetWindowRect(h, &r);
  printf("{\"rect\":[%ld,%ld,%ld,%ld]}\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

// Posts a close request to `target` the moment a window of class `cls`
// appears: a close at a moment too short to reach from outside.
int CloseOn(const char* part, const char* cls, double seconds, HWND target) {
  HWND h = WaitForWindow(part, cls, seconds);
  if (h) PostMessageW(target, WM_CLOSE, 0, 0);
  printf("{\"closed\":%s}\n", h ? "true" : "false");
  return 0;
}

// Watches the windows for `seconds`: whether any of them was hidden, for
// however short a time.
int Hidden(double seconds, int count, char** handles) {
  std::vector<HWND> windows;
  for (int i = 0; i < count; ++i) windows.push_back(ParseHwnd(handles[i]));
  bool hidden = false;
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (GetTickCount64() < until && !hidden) {
    for (HWND w : windows) hidden = hidden || !IsWindowVisible(w);
    Sleep(1);
  }
  printf("{\"hidden\":%s}\n", hidden ? "true" : "false");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Per-monitor aware like the program, so that both see the same pixels.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "windows") return Windows(argc > 2 ? argv[2] : nullptr);
  if (cmd == "close" && argc > 2) {
    if (!PostMessageW(ParseHwnd(argv[2]), WM_CLOSE, 0, 0)) return 1;
    printf("{}\n");
    return 0;
  }
  if (cmd == "dialog" && argc > 2) return Dialog(ParseHwnd(argv[2]));
  if (cmd == "press" && argc > 3) return Press(ParseHwnd(argv[2]), argv[3]);
  if (cmd == "fill" && argc > 3) return Fill(ParseHwnd(argv[2]), argv[3]);
  if (cmd == "click" && argc > 4) {  // a left click posted at a point of the window's client area
    const HWND h = ParseHwnd(argv[2]);
    const LPARAM at = MAKELPARAM(atoi(argv[3]), atoi(argv[4]));
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    printf("{}\n");
    return 0;
  }
  if (cmd == "metrics") return Metrics();
  if (cmd == "hold" && argc > 2) return Hold(atof(argv[2]));
  if (cmd == "holdhotkey" && argc > 4) return HoldHotKey(atoi(argv[2]), atoi(argv[3]), atof(argv[4]));
  if (cmd == "clipboardpng" && argc > 2) return ClipboardPng(argv[2]);
  if (cmd == "pointer") return Pointer();
  if (cmd == "closeon" && argc > 5) return CloseOn(argv[2], argv[3], atof(argv[4]), ParseHwnd(argv[5]));
  if (cmd == "move" && argc > 4) {
    SetWindowPos(ParseHwnd(argv[2]), nullptr, atoi(argv[3]), atoi(argv[4]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    printf("{}\n");
    return 0;
  }
  if (cmd == "clipboard" && argc > 2) return Clipboard(argv[2]);
  if (cmd == "settext" && argc > 2) return SetText(argv[2]);
  if (cmd == "hidden" && argc > 3) return Hidden(atof(argv[2]), argc - 3, argv + 3);
  if (cmd == "watch" && argc > 4) return Watch(argv[2], argv[3], atof(argv[4]));
  if (cmd == "region" && argc > 2) return Region(ParseHwnd(argv[2]));
  if (cmd == "dragsetting") {  // the session's drag setting; with a value, set for the session
    if (argc > 2) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, atoi(argv[2]), nullptr, 0);
    BOOL on = FALSE;
    SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
    printf("{\"on\":%s}\n", on ? "true" : "false");
    return 0;
  }
  if (cmd == "redraw" && argc > 2) {
    RedrawWindow(ParseHwnd(argv[2]), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    printf("{}\n");
    return 0;
  }
  fprintf(stderr, "usage: probe windows|close|dialog|press|metrics|region ...\n");
  return 2;
}

// Recording 800 x 600 at 10 frames a second for 30 s under Wine, of a
// scripted desktop clip (a window whose text scrolls through, a clock, a
// moving pointer) and of a still area: frames recorded and dropped, the
// memory above the idle program, and the time from the stop to the complete
// file in each format, next to one PNG of the area written at once (what a
// capture's save costs). With a folder argument it first writes the clip's
// 300 frames there as PNG files, for the encoders' anchors (scripts/bench);
// with "text" first, those of a text-only clip.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <thread>

#include "app/recorder.h"
#include "win/image_writer.h"
#include "win/screen.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kFrames = 300, kFps = 10;
const int kSeconds = std::getenv("KIRASOE_BENCH_RECORD_SECONDS") ? std::atoi(std::getenv("KIRASOE_BENCH_RECORD_SECONDS")) : 30;

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double PrivateMiB() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage at 0; the page-file usage is the same figure there.
  return (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1048576.0;
}

// Frame `n` of the clip: a text window whose lines scroll through by 3
// pixels a frame, a status bar with a clock, a pointer that moves.
void DrawClip(HDC dc, int n) {
  static HFONT font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                                    L"Tahoma");
  const RECT all{0, 0, kWidth, kHeight}, title{0, 0, kWidth, 28}, status{0, kHeight - 24, kWidth, kHeight};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HBRUSH blue = ::CreateSolidBrush(RGB(40, 90, 170)), grey = ::CreateSolidBrush(RGB(225, 225, 225));
  ::FillRect(dc, &title, blue);
  ::FillRect(dc, &status, grey);
  ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::TextOutW(dc, 10, 6, L"notes.txt - Editor", 18);
  ::SetTextColor(dc, RGB(20, 20, 20));
  const int scroll = n * 3, lineHeight = 18;
  for (int line = scroll / lineHeight; line * lineHeight - scroll < kHeight - 60; ++line) {
    wchar_t text[160];
    const int len = std::swprintf(text, 160, L"%4d  The quick brown fox jumps over the lazy dog; step %d of the "
                                             L"how-to, value = %d.", line + 1, line % 17, (line * 7919) % 10007);
    ::TextOutW(dc, 12, 36 + line * lineHeight - scroll, text, len);
  }
  // A picture in the document, scrolling with the text: smooth colours, as
  // a photo or a gradient, more than a palette holds.
  static HBITMAP photo = [] {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 240, -180, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP made = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<DWORD*>(bits);
    for (int y = 0; y < 180; ++y)
      for (int x = 0; x < 240; ++x)
        p[y * 240 + x] = static_cast<DWORD>((x * 255 / 239) << 16 | (y * 255 / 179) << 8 | ((x + y) * 3 % 256));
    return made;
  }();
  HDC photoDc = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(photoDc, photo);
  ::BitBlt(dc, kWidth - 280, 120 - scroll % 900, 240, 180, photoDc, 0, 0, SRCCOPY);
  ::SelectObject(photoDc, old);
  ::DeleteDC(photoDc);
  ::FillRect(dc, &title, blue);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::TextOutW(dc, 10, 6, L"notes.txt - Editor", 18);
  ::SetTextColor(dc, RGB(20, 20, 20));
  ::FillRect(dc, &status, grey);
  wchar_t clock[32];
  const int seconds = n / kFps;
  ::TextOutW(dc, kWidth - 70, kHeight - 20, clock, std::swprintf(clock, 32, L"12:%02d:%02d", seconds / 60, seconds % 60));
  const POINT arrow[] = {{0, 0}, {0, 16}, {4, 12}, {8, 19}, {10, 18}, {6, 11}, {12, 11}};
  POINT at[7];
  for (int i = 0; i < 7; ++i) at[i] = {arrow[i].x + 300 + (n * 4) % 300, arrow[i].y + 200 + (n * 2) % 200};
  ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
  ::Polygon(dc, at, 7);
  ::DeleteObject(blue);
  ::DeleteObject(grey);
}

// Frame `n` of the text-only clip (a few colours, as programs, menus and
// text are): an editor's lines scrolling through by 3 pixels a frame in a
// font without smoothing, a caret blinking, and a menu that opens and
// closes again with its highlight moving down. With `lateColours`, a strip
// of 20 colours more in the recording's last second: the palette's worst
// end, every frame before packed again at the stop.
void DrawTextClip(HDC dc, int n, bool lateColours = false) {
  static HFONT font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                                    L"Tahoma");
  const RECT all{0, 0, kWidth, kHeight}, title{0, 0, kWidth, 28}, menuBar{0, 28, kWidth, 48};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HBRUSH blue = ::CreateSolidBrush(RGB(40, 90, 170)), grey = ::CreateSolidBrush(RGB(225, 225, 225));
  ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(20, 20, 20));
  // Scrolling for the first half, still with a caret for the rest.
  const int scroll = std::min(n, 150) * 3, lineHeight = 18;
  for (int line = scroll / lineHeight; line * lineHeight - scroll < kHeight - 60; ++line) {
    wchar_t text[160];
    const int len = std::swprintf(text, 160, L"%4d  The quick brown fox jumps over the lazy dog; step %d of the "
                                             L"how-to, value = %d.", line + 1, line % 17, (line * 7919) % 10007);
    ::TextOutW(dc, 12, 56 + line * lineHeight - scroll, text, len);
  }
  if (n >= 150 && (n / 5) % 2 == 0) {
    const RECT caret{200, 300, 201, 316};
    ::FillRect(dc, &caret, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  ::FillRect(dc, &title, blue);
  ::FillRect(dc, &menuBar, grey);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::TextOutW(dc, 10, 6, L"notes.txt - Editor", 18);
  ::SetTextColor(dc, RGB(20, 20, 20));
  ::TextOutW(dc, 10, 31, L"File   Edit   View   Help", 25);
  if (n >= 200 && n < 260) {
    const RECT menu{8, 48, 200, 48 + 8 * 22};
    ::FillRect(dc, &menu, grey);
    ::FrameRect(dc, &menu, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const wchar_t* items[] = {L"New", L"Open...", L"Save", L"Save As...", L"Print...", L"Page Setup", L"Close", L"Exit"};
    for (int i = 0; i < 8; ++i) {
      const RECT item{9, 49 + i * 22, 199, 49 + (i + 1) * 22};
      const bool highlighted = i == (n - 200) / 8;
      if (highlighted) ::FillRect(dc, &item, blue);
      ::SetTextColor(dc, highlighted ? RGB(255, 255, 255) : RGB(20, 20, 20));
      ::TextOutW(dc, 20, item.top + 4, items[i], static_cast<int>(std::wcslen(items[i])));
    }
  }
  ::DeleteObject(blue);
  ::DeleteObject(grey);
  if (lateColours && n >= (kSeconds - 1) * kFps)
    for (int i = 0; i < 20; ++i) {
      const RECT patch{300 + i * 10, 560, 310 + i * 10, 580};
      HBRUSH brush = ::CreateSolidBrush(RGB(i * 12, 200 - i * 5, 60 + i * 9));
      ::FillRect(dc, &patch, brush);
      ::DeleteObject(brush);
    }
}

// A window at the top-left corner that plays the clip (or shows its first
// frame only) on a thread of its own, as another program would.
struct Player {
  bool still;
  bool textOnly = false;
  bool lateColours = false;
  HWND window = nullptr;
  DWORD thread = 0;
  double startedAt = 0;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Player*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    if (m == WM_PAINT && self) {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(h, &ps);
      // The clip plays again and again: a long recording keeps changing.
      const int n = self->still ? 0 : static_cast<int>((Now() - self->startedAt) / 100) % kFrames;
      if (self->textOnly) DrawTextClip(dc, n, self->lateColours);
      else DrawClip(dc, n);
      ::EndPaint(h, &ps);
      return 0;
    }
    if (m == WM_TIMER) {
      ::InvalidateRect(h, nullptr, FALSE);
      return 0;
    }
    return ::DefWindowProcW(h, m, w, l);
  }
  void Run() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KirasoeBenchClip";
    ::RegisterClassW(&wc);
    thread = ::GetCurrentThreadId();
    window = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP, 0, 0, kWidth,
                               kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    startedAt = Now();
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    if (!still) ::SetTimer(window, 1, 20, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    ::DestroyWindow(window);
  }
};

class Bench : public Recorder::Owner {
 public:
  geometry::Rect RecordedArea() const override { return {0, 0, kWidth, kHeight}; }
  bool PointerRecorded() const override { return false; }
  const masks::List& HiddenParts() const override { return none_; }
  bool Busy() const override { return false; }
  void ShowRecordingState(const std::wstring&) override {
    peakMiB = std::max(peakMiB, PrivateMiB());
  }
  void RecordingStopped(const std::wstring& why) override { stopped = why; }
  texts::Language Language() const override { return texts::Language::English; }
  double peakMiB = 0;
  std::wstring stopped = L"-";

 private:
  masks::List none_;
};

std::wstring TempFile(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

void WriteClip(const std::wstring& folder, bool textOnly) {
  win::BitmapBuffer picture;
  picture.Resize(kWidth, kHeight);
  for (int n = 0; n < kFrames; ++n) {
    if (textOnly) DrawTextClip(picture.dc(), n);
    else DrawClip(picture.dc(), n);
    wchar_t name[32];
    std::swprintf(name, 32, L"\\frame_%03d.png", n);
    win::WriteImage(picture, *save_names::TypeAt(5), folder + name);
  }
}

const char* ClipName(bool still, bool textOnly, bool lateColours) {
  if (still) return "still area";
  if (lateColours) return "text-only clip, 20 colours more in its last second";
  return textOnly ? "text-only clip (few colours)" : "desktop clip";
}

// An APNG's colours as its header says.
const char* ColourForm(const std::wstring& path) {
  std::uint8_t header[26] = {};
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  if (file != INVALID_HANDLE_VALUE) {
    ::ReadFile(file, header, sizeof header, &read, nullptr);
    ::CloseHandle(file);
  }
  return read < sizeof header ? "unreadable" : header[25] == 3 ? "palette" : "RGB";
}

void RecordOnce(bool still, bool textOnly = false, bool lateColours = false) {
  Player player{still, textOnly, lateColours};
  std::thread playing([&player] { player.Run(); });
  while (!player.window) ::Sleep(10);
  ::Sleep(500);
  Bench owner;
  Recorder recorder(owner);
  recording::Settings settings;
  settings.framesPerSecond = kFps;
  const double idle = PrivateMiB();
  std::wstring failure;
  if (!recorder.Start(settings, TempFile(L""), failure)) {
    std::printf("recording could not start: %ls\n", failure.c_str());
    std::exit(1);
  }
  for (const double end = Now() + kSeconds * 1000.0; Now() < end;) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    win::PumpPending();
  }
  const double stop = Now();
  recorder.Stop();
  const double finished = Now();
  const bool apngWritten = recorder.Animation(true).ToFile(TempFile(L"kirasoe-rec.png")).written;
  const double apng = Now();
  const bool gifWritten = recorder.Animation(false).ToFile(TempFile(L"kirasoe-rec.gif")).written;
  const double gif = Now();
  // The anchor: one PNG of the area, written at once.
  win::BitmapBuffer picture;
  win::CopyScreen(picture, owner.RecordedArea());
  const double p0 = Now();
  win::WriteImage(picture, *save_names::TypeAt(5), TempFile(L"kirasoe-one.png"));
  const double one = Now() - p0;
  ::PostThreadMessageW(player.thread, WM_QUIT, 0, 0);
  playing.join();
  std::printf("%s, %d s: frames %lld (of %d slots), dropped %lld; memory above idle: peak %.1f MiB (goal: at most "
              "64); stop to complete file: APNG (%s) %.0f ms%s, GIF %.0f ms%s (goal: 2000; finishing the encoders "
              "%.0f ms of it); one PNG of the area written at once %.0f ms, ratio APNG %.1f, GIF %.1f\n",
              ClipName(still, textOnly, lateColours), kSeconds, static_cast<long long>(recorder.Frames()),
              kSeconds * kFps, static_cast<long long>(recorder.Dropped()), owner.peakMiB - idle,
              ColourForm(TempFile(L"kirasoe-rec.png")), apng - stop,
              apngWritten ? "" : " (FAILED)", gif - apng + (finished - stop), gifWritten ? "" : " (FAILED)",
              finished - stop, one, (apng - stop) / one, (gif - apng + finished - stop) / one);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    // A folder: the desktop clip's frames; "text" and a folder: the text-only clip's.
    const bool textOnly = argc > 2 && std::string(argv[1]) == "text";
    const std::string folder = argv[textOnly ? 2 : 1];
    WriteClip(std::wstring(folder.begin(), folder.end()), textOnly);
    return 0;
  }
  RecordOnce(true);
  RecordOnce(false);
  RecordOnce(false, true);
  RecordOnce(false, true, true);
  return 0;
}

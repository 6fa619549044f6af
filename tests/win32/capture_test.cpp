// The capture sequence below the window level: a clipboard that refuses, and
// many captures in a row.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/Form1.h"
#include "app/Globals.h"
#include "toolkit/App.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Twips.h"

using namespace kirasoe;

namespace {

// Presses OK on every message box of this process and keeps their texts.
class MessageBoxes {
 public:
  MessageBoxes() : thread_([this] { Run(); }) {}
  ~MessageBoxes() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::wstring> texts;

 private:
  void Run() {
    while (!stop_) {
      HWND box = nullptr;
      while ((box = ::FindWindowExW(nullptr, box, L"#32770", nullptr))) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(box, &pid);
        if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(box)) continue;
        wchar_t text[256] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 256);
        texts.push_back(text);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ::Sleep(200);
      }
      ::Sleep(10);
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The screen's pixels in a rectangle, as 0x00RRGGBB.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, h, px.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  for (auto& p : px) p &= 0xffffff;
  return px;
}

std::vector<std::uint32_t> ScreenPixels(int x, int y, int w, int h) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, x, y, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  auto px = Pixels(bmp, w, h);
  ::DeleteObject(bmp);
  return px;
}

void SetArea(int x, int y, int w, int h) {
  const double tx = tk::Screen::TwipsPerPixelX(), ty = tk::Screen::TwipsPerPixelY();
  SnapX = twips::FromPixels(x, tx);
  SnapY = twips::FromPixels(y, ty);
  SnapW = twips::FromPixels(w, tx);
  SnapH = twips::FromPixels(h, ty);
}

double PrivateMiB() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1048576.0;
}

int ThreadWindows() {
  int n = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND, LPARAM c) { ++*reinterpret_cast<int*>(c); return TRUE; },
                      reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace

TEST(Capture, AClipboardThatRefusesIsReportedAndTheCaptureIsKept) {
  Form1.Load();
  // The desktop itself, which no window covers there and nothing repaints.
  SetArea(40, 40, 60, 30);

  // Another program holds the clipboard: Windows refuses to open it.
  tk::Clipboard::OpenWith([](HWND) -> BOOL {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  });
  {
    MessageBoxes boxes;
    EXPECT_TRUE(Form1.CopyScreenArea());
    tk::Clipboard::OpenWith(nullptr);
    tk::DoEvents();
    ASSERT_EQ(boxes.texts, std::vector<std::wstring>{L"画像をクリップボードにコピーできませんでした。"});
  }
  // What would be saved is the capture, pixel for pixel.
  tk::UniqueBitmap captured = Form1.Picture1.CopyImage();
  EXPECT_EQ(Pixels(captured.get(), 60, 30), ScreenPixels(40, 40, 60, 30));
}

TEST(Capture, FiftyCapturesInARowLeaveNothingBehind) {
  Form1.Load();
  // A large area, so that a bitmap or DIB left behind by each capture would
  // show in the memory in use (Wine counts no GDI objects per process).
  SetArea(0, 0, 400, 300);
  double after10 = 0;
  int windows10 = 0;
  for (int i = 1; i <= 50; ++i) {
    ASSERT_TRUE(Form1.CopyScreenArea());
    if (i == 10) {
      after10 = PrivateMiB();
      windows10 = ThreadWindows();
    }
  }
  const double after50 = PrivateMiB();
  std::printf("private bytes after capture 10: %.1f MiB, after 50: %.1f MiB; windows %d, %d\n", after10, after50,
              windows10, ThreadWindows());
  // 40 captures of 400 x 300 leaking their picture would add 18 MiB.
  EXPECT_LT(after50 - after10, 2.0);
  EXPECT_EQ(ThreadWindows(), windows10);
}

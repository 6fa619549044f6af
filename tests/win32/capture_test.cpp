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

#include <filesystem>

#include "tests/tools/capture_rig.h"
#include "app/program.h"
#include "../native/bmp_reader.h"
#include "win/screen_copy.h"
#include "win/clipboard.h"
#include "win/screen.h"

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

// The capture sequence saving quick captures as BMP into a folder of its own.
struct QuickRig : CaptureRig {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / L"kirasoe-capture-rig";

  QuickRig() : CaptureRig({900, 500, 950, 540}) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    store.data.lastFolder = folder.wstring();
    store.data.lastName = L"cap";
    store.data.lastType = 0;  // BMP
    SetArea({600, 400, 700, 470});
    Settle();
  }
  ~QuickRig() { std::filesystem::remove_all(folder); }
  // Lets the windows settle as a user would see them: under Wine the
  // display's answers to a placing arrive a moment later.
  static void Settle() {
    for (int i = 0; i < 10; ++i) {
      win::PumpPending();
      ::Sleep(50);
    }
  }
  std::vector<std::filesystem::path> Files() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
    return files;
  }
};

QuickRig& TheRig() {
  static QuickRig* rig = new QuickRig;
  return *rig;
}

// The pixels of a 24-bit BMP file, as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> BmpPixels(const std::filesystem::path& path) {
  const TestPicture picture = ReadBmp(path.string());
  std::vector<std::uint32_t> px;
  for (const auto& p : picture.rgb) px.push_back(static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]);
  return px;
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

TEST(Capture, TheFrameAlwaysShowsTheAreaAndComesBackWithTheMonitors) {
  // The program as it runs, with the only frame of this process so far.
  Program program;
  program.Start();
  QuickRig::Settle();
  HWND frameWindow = ::FindWindowW(L"Kirasoe.Frame", nullptr);
  HWND cameraWindow = ::FindWindowW(L"Kirasoe.Camera", nullptr);
  ASSERT_TRUE(frameWindow && cameraWindow);
  const auto boundsOf = [](HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return geometry::Rect{r.left, r.top, r.right, r.bottom};
  };
  program.FrameChanged({200, 120, 300, 170});
  // Another program (or a window manager) moves and sizes the frame: it goes
  // back to the area, which stays what the user chose.
  ::SetWindowPos(frameWindow, nullptr, 300, 200, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  win::PumpPending();
  EXPECT_EQ(boundsOf(frameWindow), (geometry::Rect{200, 120, 300, 170}));
  // An area no monitor shows any more comes back beside the camera when the
  // displays change.
  program.FrameChanged({-5000, -5000, -4880, -4920});
  ::SendMessageW(cameraWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
  win::PumpPending();
  const geometry::Rect camera = boundsOf(cameraWindow), frame = boundsOf(frameWindow);
  EXPECT_EQ(frame.left, camera.left + 32);
  EXPECT_EQ(frame.top, camera.top);
  EXPECT_EQ(frame.Width(), 120);
}

TEST(Capture, AClipboardThatRefusesIsReportedAndTheCaptureIsKept) {
  QuickRig& rig = TheRig();
  // The desktop itself, which no window covers there and nothing repaints.
  rig.SetArea({40, 40, 100, 70});

  // Another program holds the clipboard: Windows refuses to open it.
  win::clipboard::OpenWith([](HWND) -> BOOL {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  });
  {
    MessageBoxes boxes;
    EXPECT_TRUE(rig.capture.Run(true));
    win::clipboard::OpenWith(nullptr);
    win::PumpPending();
    ASSERT_EQ(boxes.texts, std::vector<std::wstring>{L"画像をクリップボードにコピーできませんでした。"});
  }
  // The file saved is the capture, pixel for pixel: the desktop beneath
  // the frame.
  ASSERT_EQ(rig.Files(), std::vector<std::filesystem::path>{rig.folder / L"cap_001.bmp"});
  rig.windows.frame.Hide();
  win::PumpPending();
  win::SettleScreen();
  EXPECT_EQ(BmpPixels(rig.folder / L"cap_001.bmp"), ScreenPixels(40, 40, 60, 30));
  rig.windows.frame.Show();
  std::filesystem::remove(rig.folder / L"cap_001.bmp");
}

TEST(Capture, FiftyCapturesInARowLeaveNothingBehind) {
  QuickRig& rig = TheRig();
  // A large area, so that a bitmap or DIB left behind by each capture would
  // show in the memory in use (Wine counts no GDI objects per process).
  rig.SetArea({0, 0, 400, 300});
  double after10 = 0;
  int windows10 = 0;
  for (int i = 1; i <= 50; ++i) {
    ASSERT_TRUE(rig.capture.Run(true));
    for (const auto& file : rig.Files()) std::filesystem::remove(file);
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

namespace {

// Counts the timer ticks this thread handles while the program writes a file.
class Ticker : public win::Window {
 public:
  explicit Ticker(const SaveFlow& saves) : saves_(saves) {
    Create({.className = L"Kirasoe.TestTicker"});
    ::SetTimer(hwnd(), 1, 5, nullptr);
  }
  int ticksWhileSaving = 0;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    if (msg == WM_TIMER && saves_.Writing()) ++ticksWhileSaving;
    return Default(msg, wp, lp);
  }

 private:
  const SaveFlow& saves_;
};

}  // namespace

TEST(Capture, TheProgramKeepsAnsweringWhileItWritesAFile) {
  QuickRig& rig = TheRig();
  win::BitmapBuffer picture;
  ASSERT_TRUE(win::CopyScreen(picture, {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}));
  Ticker ticker(rig.saves);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"kirasoe-answering.gif";
  const win::WriteOutcome outcome = rig.saves.WritePicture(picture, *save_names::TypeAt(1), path);
  EXPECT_TRUE(outcome.written);
  EXPECT_FALSE(rig.saves.Writing());
  EXPECT_GT(ticker.ticksWhileSaving, 0) << "the window thread handled its messages during the write";
  ::DeleteFileW(path.c_str());
}

// The capture up to the clipboard (hide, copy, show, clipboard) for a full-HD
// and a 320 x 240 rectangle, against a bare BitBlt of the same rectangle from
// the desktop into a DIB section, measured in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/tools/capture_rig.h"
#include "win/image_writer.h"
#include "win/profile.h"
#include "win/screen.h"

#include <psapi.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <atomic>
#include <thread>

namespace {

// The capture parts, with a capture of the area without saving.
struct Rig : CaptureRig {
  Rig() : CaptureRig({40, 40, 90, 80}) {}
  HWND Camera() const { return windows.camera.hwnd(); }
  HWND Frame() const { return windows.frame.hwnd(); }
  bool Take() { return screen.Take(area, false); }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double BareCopy(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC screen = ::GetDC(::GetDesktopWindow());
  HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, section);
  double t0 = Now();
  ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  double t = Now() - t0;
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::DeleteObject(section);
  ::ReleaseDC(::GetDesktopWindow(), screen);
  return t;
}

double EventPass() {
  double t0 = Now();
  win::PumpPending();
  return Now() - t0;
}

// What the platform alone costs for the steps the sequence cannot leave out:
// hiding and showing the two windows, waiting for the screen, and handing a
// bitmap of the capture's size to the clipboard.
struct Floor {
  double hideShow, settle, clipboard;
};

Floor PlatformFloor(const Rig& program, int w, int h) {
  Floor f{};
  double t0 = Now();
  ::ShowWindow(program.Camera(), SW_HIDE);
  ::ShowWindow(program.Frame(), SW_HIDE);
  ::ShowWindow(program.Camera(), SW_SHOW);
  ::ShowWindow(program.Frame(), SW_SHOW);
  f.hideShow = Now() - t0;
  win::PumpPending();
  t0 = Now();
  win::SettleScreen();
  f.settle = Now() - t0;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  ::ReleaseDC(nullptr, screen);
  t0 = Now();
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    if (::SetClipboardData(CF_BITMAP, bitmap)) bitmap = nullptr;
    ::CloseClipboard();
  }
  f.clipboard = Now() - t0;
  if (bitmap) ::DeleteObject(bitmap);
  return f;
}

// The capture buffer's pixels against a bare copy of the same rectangle taken
// right after it: the number of pixels that differ (0 for an exact capture on
// a still screen).
std::size_t DifferentFromScreen(const Rig& program, int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  std::vector<std::uint32_t> a(static_cast<std::size_t>(w) * h), b(a.size());
  HDC screen = ::GetDC(nullptr);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::GetDIBits(mem, bmp, 0, h, a.data(), &info, DIB_RGB_COLORS);
  win::UniqueBitmap captured = program.screen.Picture().Copy();
  ::GetDIBits(mem, captured.get(), 0, h, b.data(), &info, DIB_RGB_COLORS);
  ::DeleteDC(mem);
  ::DeleteObject(bmp);
  ::ReleaseDC(nullptr, screen);
  std::size_t differ = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differ += (a[i] & 0xffffff) != (b[i] & 0xffffff);
  return differ;
}

double PrivateMiB() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage at 0; the page-file usage is the same figure there.
  return (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1048576.0;
}

std::vector<std::pair<int, int>> Sizes() {
  std::vector<std::pair<int, int>> sizes;
  const char* env = std::getenv("KIRASOE_BENCH_SIZES");
  std::string text = env ? env : "1920x1080 320x240";
  for (std::size_t i = 0; i < text.size();) {
    int w = 0, h = 0, used = 0;
    if (std::sscanf(text.c_str() + i, " %dx%d%n", &w, &h, &used) != 2) break;
    sizes.push_back({w, h});
    i += used;
  }
  return sizes;
}

}  // namespace

// Many captures in a row: memory, windows and GDI objects after capture 10
// and after the last one must be the same.
void Endurance(Rig& program, int count) {
  program.SetArea({0, 0, 640, 480});
  auto windows = [] {
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND, LPARAM c) { ++*reinterpret_cast<int*>(c); return TRUE; },
                        reinterpret_cast<LPARAM>(&n));
    return n;
  };
  double mem10 = 0;
  int win10 = 0;
  DWORD gdi10 = 0, user10 = 0;
  const double t0 = Now();
  for (int i = 1; i <= count; ++i) {
    program.Take();
    if (i == 10) {
      mem10 = PrivateMiB();
      win10 = windows();
      gdi10 = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
      user10 = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    }
  }
  std::printf("endurance: %d captures of 640x480 in %.1f s; after 10 / after %d: private bytes %.1f / %.1f MiB, "
              "windows %d / %d, GDI objects %lu / %lu, USER objects %lu / %lu (0: not counted by this system)\n",
              count, (Now() - t0) / 1000, count, mem10, PrivateMiB(), win10, windows(), gdi10,
              ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), user10,
              ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
}

// The quick capture of 1920 x 1080 as PNG, from the key (the whole sequence,
// flash included) to the file being complete, next to the capture alone and
// the PNG encoding alone, in the same run.
std::wstring QuickFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"kirasoe-quick";
}

void Quick(Rig& program) {
  // The last save: PNG files named "bench" in the quick capture's folder.
  const std::wstring folder = QuickFolder();
  ::CreateDirectoryW(folder.c_str(), nullptr);
  program.store.data.lastFolder = folder;
  program.store.data.lastName = L"bench";
  program.store.data.lastType = 5;
  program.SetArea({0, 0, 1920, 1080});
  std::vector<double> quick, capture, encode;
  for (int i = 0; i < 7; ++i) {
    double t0 = Now();
    program.capture.Run(true);
    quick.push_back(Now() - t0);
    t0 = Now();
    program.Take();
    capture.push_back(Now() - t0);
    t0 = Now();
    win::WriteImage(program.screen.Picture(), *save_names::TypeAt(5), folder + L"\\alone.png");
    encode.push_back(Now() - t0);
  }
  const double q = Median(quick), c = Median(capture), e = Median(encode);
  std::printf("quick capture 1920x1080 PNG, key to file: median %.0f ms; capture alone %.0f ms; PNG writing alone "
              "%.0f ms; flash 50 ms; ratio to capture + writing + flash %.2f\n",
              q, c, e, q / (c + e + 50));
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(folder.c_str());
}

// The most memory in use while `work` runs, sampled every millisecond.
double PeakMiBDuring(const std::function<void()>& work) {
  std::atomic<bool> done{false};
  std::atomic<double> peak{PrivateMiB()};
  std::thread sampler([&] {
    while (!done) {
      const double now = PrivateMiB();
      if (now > peak) peak = now;
      ::Sleep(1);
    }
  });
  work();
  done = true;
  sampler.join();
  return std::max(peak.load(), PrivateMiB());
}

// A large area: exact, saved in every format; memory per pixel after the
// capture and at the peak of each save.
void LargeArea(Rig& program, int w, int h, double baseMiB) {
  const double t0 = Now();
  program.Take();
  const double took = Now() - t0;
  const double pixels = static_cast<double>(w) * h, idle = PrivateMiB();
  // The frame and the camera step aside for the comparison, as for a capture.
  ::ShowWindow(program.Frame(), SW_HIDE);
  ::ShowWindow(program.Camera(), SW_HIDE);
  win::PumpPending();
  win::SettleScreen();
  const std::size_t unlike = DifferentFromScreen(program, w, h);
  ::ShowWindow(program.Frame(), SW_SHOW);
  ::ShowWindow(program.Camera(), SW_SHOW);
  std::printf("  one more capture: %.0f ms; pixels unlike a bare copy right after: %zu of %.0f; "
              "memory after the capture %.1f bytes a pixel above the program before any capture\n",
              took, unlike, pixels, (idle - baseMiB) * 1048576.0 / pixels);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring base = std::wstring(temp) + L"kirasoe-bench";
  const struct { const char* name; int type; const wchar_t* ext; } writers[] = {
      {"BMP", 0, L".bmp"}, {"GIF", 1, L".gif"}, {"JPEG 100", 2, L".jpg"}, {"PNG", 5, L".png"}};
  for (const auto& wr : writers) {
    bool ok = false;
    const double before = PrivateMiB(), t1 = Now();
    const double peak = PeakMiBDuring(
        [&] { ok = program.saves.WritePicture(program.screen.Picture(), *save_names::TypeAt(wr.type), base + wr.ext).written; });
    std::printf("  %s: %s in %.0f ms; peak %.1f bytes a pixel above the state after the capture\n", wr.name,
                ok ? "written" : "FAILED", Now() - t1, (peak - before) * 1048576.0 / pixels);
    ::DeleteFileW((base + wr.ext).c_str());
  }
}

int main() {
  const bool quick = std::getenv("KIRASOE_BENCH_QUICK") != nullptr;
  Rig program;
  win::PumpPending();
  if (quick) {
    Quick(program);
    return 0;
  }
  if (const char* n = std::getenv("KIRASOE_BENCH_ENDURANCE")) {
    Endurance(program, std::atoi(n));
    return 0;
  }
  const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
  const double baseMiB = PrivateMiB();  // the program running, before any capture
  std::printf("screen %dx%d\n", screenW, screenH);
  for (auto [w, h] : Sizes()) {
    const int size[2] = {w, h};
    program.SetArea({0, 0, w, h});
    std::vector<double> capture, bare, events, hideShow, settle, clipboard;
    const int runs = static_cast<long long>(w) * h > 10'000'000 ? 5 : 15;
    for (int i = 0; i < runs; ++i) {
      double t0 = Now();
      program.Take();
      capture.push_back(Now() - t0);
      bare.push_back(BareCopy(size[0], size[1]));
      events.push_back(4 * EventPass());  // the sequence runs four pending-event passes
      const Floor f = PlatformFloor(program, size[0], size[1]);
      hideShow.push_back(f.hideShow);
      settle.push_back(f.settle);
      clipboard.push_back(f.clipboard);
    }
    const double c = Median(capture), b = Median(bare), e = Median(events);
    const double hs = Median(hideShow), st = Median(settle), cb = Median(clipboard);
    std::printf("capture %dx%d to clipboard: median %.2f ms; bare BitBlt %.2f ms; platform floor %.2f ms "
                "(hide+show %.2f, wait for the screen %.2f, CF_BITMAP hand-over %.2f, event passes %.2f); "
                "ratio to floor + bare copy %.2f\n",
                w, h, c, b, hs + st + cb + e, hs, st, cb, e, c / (hs + st + cb + e + b));
    if (w <= screenW && h <= screenH) LargeArea(program, w, h, baseMiB);
  }
  return 0;
}


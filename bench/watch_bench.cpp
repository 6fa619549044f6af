// Watching a still 1920 x 1080 area for 60 s: the process's CPU time, next to
// a bare copy of the area into memory at the same sampling rate for 60 s.
// Then the delay from a settled change to the complete file, beyond the
// settle time, next to the same picture taken and written at once (what a
// quick capture does after its flash).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "app/area_watch.h"
#include "win/image_writer.h"
#include "win/screen.h"
#include "win/screen_copy.h"

namespace {

constexpr geometry::Rect kArea{0, 0, 1920, 1080};
// KIRASOE_BENCH_WATCH_SECONDS shortens the 60 s, for a quick look.
const double kWatchMs = 1000.0 * (std::getenv("KIRASOE_BENCH_WATCH_SECONDS") ? std::atoi(std::getenv("KIRASOE_BENCH_WATCH_SECONDS")) : 60);

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double CpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

void PumpFor(double ms) {
  const double end = Now() + ms;
  while (Now() < end) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    win::PumpPending();
  }
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

// The program's side, reduced to the picture: copied and written at once.
class Bench : public AreaWatch::Owner {
 public:
  geometry::Rect WatchedArea() const override { return kArea; }
  std::vector<geometry::Rect> OwnWindowsShown() const override { return {}; }
  AreaWatch::Picture TakeWatchPicture() override {
    win::BitmapBuffer picture;
    if (!win::CopyScreen(picture, kArea)) return AreaWatch::Picture::Failed;
    win::WriteImage(picture, *save_names::TypeAt(5), TempFile(L"kirasoe-watch.png"));
    savedAt = Now();
    ++saved;
    return AreaWatch::Picture::Saved;
  }
  void ShowWatchState(const std::wstring&) override {}
  void WatchEnded(const std::wstring&) override {}
  texts::Language Language() const override { return texts::Language::English; }
  double savedAt = 0;
  int saved = 0;
};

// A window over the whole area in one colour: a change of the area.
HWND Cover(COLORREF colour) {
  static HBRUSH brush = nullptr;
  if (brush) ::DeleteObject(brush);
  brush = ::CreateSolidBrush(colour);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = brush;
  wc.lpszClassName = L"KirasoeBenchCover";
  ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP,
                             kArea.left, kArea.top, kArea.Width(), kArea.Height(), nullptr, nullptr, wc.hInstance,
                             nullptr);
  ::ShowWindow(w, SW_SHOWNOACTIVATE);
  ::UpdateWindow(w);
  return w;
}

}  // namespace

int main() {
  // The area must lie on the screen: what lies beyond reads as anything.
  if (::GetSystemMetrics(SM_CXSCREEN) < kArea.Width() || ::GetSystemMetrics(SM_CYSCREEN) < kArea.Height()) {
    std::printf("watch: the screen is smaller than 1920x1080; skipped\n");
    return 0;
  }
  Bench owner;
  AreaWatch watch(owner);
  const change_watch::Settings settings;
  const int every = change_watch::SampleIntervalMs(kArea.Width(), kArea.Height());
  HWND still = Cover(RGB(90, 90, 90));
  PumpFor(500);
  double cpu = CpuMs();
  watch.Start(AreaWatch::Mode::Changes, 10, settings);
  PumpFor(kWatchMs);
  const double watching = CpuMs() - cpu;
  const int stillPictures = owner.saved;
  watch.Stop();
  // The anchor: a bare copy into memory at the same rate.
  win::ScreenSampler sampler;
  std::vector<std::uint32_t> pixels;
  cpu = CpuMs();
  for (double next = Now(), end = Now() + kWatchMs; Now() < end; next += every) {
    sampler.Sample(kArea, pixels);
    PumpFor(std::max(0.0, next + every - Now()));
  }
  const double bare = CpuMs() - cpu;
  std::printf("watching a still 1920x1080 area for 60 s (a sample every %d ms): CPU %.0f ms (%.1f %% of one core), "
              "pictures %d; bare copy at the same rate %.0f ms; ratio %.2f\n",
              every, watching, watching / 600.0, stillPictures, bare, watching / bare);
  // Settled changes: the time from the change to the complete file beyond
  // the settle time, next to the picture taken and written at once.
  std::vector<double> delays, direct;
  watch.Start(AreaWatch::Mode::Changes, 10, settings);
  PumpFor(500);
  for (int i = 0; i < 5; ++i) {
    const int before = owner.saved;
    ::DestroyWindow(still);
    const double changed = Now();
    still = Cover(RGB(40 * i, 200 - 30 * i, 120));
    while (owner.saved == before && Now() - changed < 10000) PumpFor(10);
    delays.push_back(owner.savedAt - changed - settings.settleMs);
    const double t0 = Now();
    owner.TakeWatchPicture();
    direct.push_back(Now() - t0);
    PumpFor(500);
  }
  std::sort(delays.begin(), delays.end());
  std::sort(direct.begin(), direct.end());
  std::printf("settled change to complete file: median %.0f ms beyond the %d ms settle time (goal: at most 500); "
              "the same picture taken and written at once %.0f ms\n",
              delays[2], settings.settleMs, direct[2]);
  watch.Stop();
  ::DeleteFileW(TempFile(L"kirasoe-watch.png").c_str());
  return 0;
}

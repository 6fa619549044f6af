// Marking an area in one drag, on the screen it runs on:
// - from the request to the screen held still and shown with its magnifier,
//   against a bare copy of the whole virtual screen shown in one plain
//   window, in the same run;
// - from a pointer move to the magnifier painted (300 moves, half of them
//   dragging), as percentiles;
// - the memory the selection holds while it runs and after it ends, against
//   4 bytes a pixel of the virtual screen.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/area_selection.h"
#include "tests/tools/capture_rig.h"
#include "win/screen.h"
#include "win/still_screen.h"

namespace {

double Now() { return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

double Median(const std::vector<double>& v) { return Percentile(v, 0.5); }

// Waits until what was drawn has reached the screen: a pixel read back.
void ReadBack(geometry::Point at) {
  ::GdiFlush();
  win::WindowDC screen(nullptr);
  ::GetPixel(screen.get(), at.x, at.y);
}

// The memory committed in the process, region by region: Wine reports no
// private bytes for a DIB section.
std::size_t UsedBytes() {
  std::size_t used = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (auto* at = static_cast<char*>(nullptr); ::VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT) used += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return used;
}

// The anchor: one plain window over the virtual screen that paints a copy
// of it.
class PlainWindow : public win::Window {
 public:
  explicit PlainWindow(const win::StillScreen& still) : still_(still) {}
  bool Open() {
    if (!Create({.className = L"Kirasoe.Bench.Plain", .exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST, .at = still_.Area()}))
      return false;
    ::ShowWindow(hwnd(), SW_SHOW);
    ::UpdateWindow(hwnd());
    return true;
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return Default(msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd(), &ps);
    const RECT& r = ps.rcPaint;
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, still_.dc(), r.left, r.top, SRCCOPY);
    ::EndPaint(hwnd(), &ps);
    return 0;
  }

 private:
  const win::StillScreen& still_;
};

double Anchor(const geometry::Rect& screen) {
  const double t0 = Now();
  win::StillScreen still;
  if (!still.Take(screen)) return -1;
  PlainWindow window(still);
  if (!window.Open()) return -1;
  ReadBack({screen.left + 1, screen.top + 1});
  const double took = Now() - t0;
  window.Destroy();
  win::PumpPending();
  return took;
}

// A copy of the whole screen, untimed: the X server's first reading of a
// large screen after other work takes up to seconds more at random, for
// the bare copy as much as for the selection.
void Warm(const geometry::Rect& screen) {
  win::StillScreen still;
  still.Take(screen);
  ::Sleep(300);
}

struct Bench : CaptureRig {
  Bench() : CaptureRig({40, 40, 90, 80}) { SetArea({200, 150, 500, 400}); }
  AreaSelection selection{{activity, windows, voice, [] { return false; }, [](const geometry::Rect&) {},
                           [](bool, HWND, const AreaSelection::CopyStill&) {}}};

  double Show(const geometry::Rect& screen) {
    win::PumpPending();
    const double t0 = Now();
    if (!selection.Start(false, nullptr)) return -1;
    ReadBack({screen.left + 1, screen.top + 1});
    return Now() - t0;
  }
  void End() {
    selection.Cancel();
    win::PumpPending();
  }
};

// Our windows stepping aside and the screen settling, alone.
double StepAside(Bench& bench) {
  const double t0 = Now();
  bench.windows.StepAside();
  win::PumpPending();
  win::SettleScreen();
  win::PumpPending();
  const double took = Now() - t0;
  bench.windows.ComeBack();
  win::PumpPending();
  return took;
}

void MeasureShow(Bench& bench, const geometry::Rect& screen) {
  std::vector<double> ours, anchor, aside;
  for (int i = 0; i < 3; ++i) {
    aside.push_back(StepAside(bench));
    ::Sleep(200);
  }
  // Both turn about, each after an untimed copy of the screen.
  for (int i = 0; i < 9; ++i) {
    Warm(screen);
    ours.push_back(bench.Show(screen));
    bench.End();
    Warm(screen);
    anchor.push_back(Anchor(screen));
  }
  const double fastest = *std::min_element(ours.begin(), ours.end()),
               anchorFastest = *std::min_element(anchor.begin(), anchor.end());
  std::printf("selection shown, %d x %d virtual screen: fastest %.1f ms, median %.1f ms (9 runs); anchor, bare copy + "
              "one window shown: fastest %.1f ms, median %.1f ms; ratio of the fastest %.2f, of the medians %.2f\n",
              screen.Width(), screen.Height(), fastest, Median(ours), anchorFastest, Median(anchor),
              fastest / anchorFastest, Median(ours) / Median(anchor));
  std::printf("  of which our windows stepping aside and the screen settling: %.1f ms\n", Median(aside));
}

void MeasureMagnifier(Bench& bench, const geometry::Rect& screen) {
  ::SetCursorPos(screen.left + 300, screen.top + 300);
  bench.Show(screen);
  AreaSelector& selector = bench.selection.Selector();
  std::vector<double> moves;
  const geometry::Point at0{screen.left + 300, screen.top + 300};
  for (int i = 0; i < 300; ++i) {
    if (i == 150) ::SendMessageW(selector.WindowAt(at0), WM_KEYDOWN, VK_SPACE, 0);  // the drag starts
    const geometry::Point at{screen.left + 300 + 3 * i, screen.top + 300 + 2 * i};
    const double t0 = Now();
    selector.PointerTo(at);
    const geometry::Rect m = selector.Magnifier();
    ReadBack({m.left + 1, m.top + 1});
    moves.push_back(Now() - t0);
  }
  std::printf("pointer move to magnifier painted, %d x %d: median %.2f ms, p95 %.2f ms, max %.2f ms (300 moves)\n",
              screen.Width(), screen.Height(), Median(moves), Percentile(moves, 0.95),
              *std::max_element(moves.begin(), moves.end()));
  bench.End();
}

void MeasureMemory(Bench& bench, const geometry::Rect& screen) {
  const std::size_t before = UsedBytes();
  bench.Show(screen);
  const std::size_t during = UsedBytes();
  bench.End();
  const std::size_t after = UsedBytes();
  const double pixels = static_cast<double>(screen.Width()) * screen.Height();
  std::printf("memory while selecting: +%.1f MB = %.2f bytes a pixel of the virtual screen; after: %+.1f MB\n",
              static_cast<double>(during - before) / 1e6, static_cast<double>(during - before) / pixels,
              (static_cast<double>(after) - static_cast<double>(before)) / 1e6);
}

}  // namespace

int main() {
  Bench bench;
  win::PumpPending();
  const geometry::Rect screen = win::VirtualScreen();
  MeasureShow(bench, screen);
  MeasureMagnifier(bench, screen);
  MeasureMemory(bench, screen);
  return 0;
}

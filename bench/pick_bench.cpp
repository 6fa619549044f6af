// Fitting the frame to a window: the time from a pointer move onto another
// program's window to the frame standing on that window's rectangle (median
// and 95th percentile), through the real picker (the system's hooks, the
// window lookup, the frame's layout). Anchor: a bare SetWindowPos of the same
// frame to the same rectangles, in the same run.
// Run with "windows" it is instead the other program: a grid of windows.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/frame_window.h"
#include "app/window_picker.h"
#include "bench/quiet_frame_owner.h"
#include "win/screen.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kColumns = 4, kRows = 3, kSide = 200, kGap = 40, kLeft = 300, kTop = 100;

geometry::Rect Cell(int i) {
  return geometry::RectAt(kLeft + (i % kColumns) * (kSide + kGap), kTop + (i / kColumns) * (kSide + kGap), kSide, kSide);
}

int ShowWindows() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = L"PickBenchTarget";
  ::RegisterClassW(&wc);
  for (int i = 0; i < kColumns * kRows; ++i) {
    const geometry::Rect r = Cell(i);
    ::ShowWindow(::CreateWindowExW(0, wc.lpszClassName, L"target", WS_POPUP | WS_BORDER, r.left, r.top, r.Width(),
                                   r.Height(), nullptr, nullptr, wc.hInstance, nullptr), SW_SHOWNOACTIVATE);
  }
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}

class Bench : public QuietFrameOwner, public WindowPicker::Owner {
 public:
  void PickShown(const geometry::Rect& pixels) override {
    area.Set(pixels);
    frame.Layout(area);
  }
  void PickEnded(const std::optional<geometry::Rect>&) override {}

  CaptureArea area{{0, 0, 1500, 1500}, win::CurrentScale()};
  FrameWindow frame{*this};
};

// Runs the message loop until the frame stands on `r`; milliseconds, or -1.
double WaitForFrame(const FrameWindow& frame, const geometry::Rect& r, Clock::time_point t0) {
  while (Clock::now() - t0 < std::chrono::seconds(2)) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (frame.Bounds() == r) return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return -1;
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%s: median %.3f ms, p95 %.3f ms over %zu moves\n", what, ms[ms.size() / 2], ms[ms.size() * 95 / 100],
              ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "windows") == 0) return ShowWindows();
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" windows";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 2;
  ::Sleep(1500);

  Bench bench;
  bench.frame.Open(bench.area, FrameColour(1));
  WindowPicker picker(bench);
  if (!picker.Start()) return 3;
  std::vector<double> picked, bare;
  int missed = 0;
  for (int i = 0; i < 200; ++i) {
    const geometry::Rect r = Cell(i % (kColumns * kRows));
    const auto t0 = Clock::now();
    ::SetCursorPos(r.left + 50 + i % 7, r.top + 60);
    const double ms = WaitForFrame(bench.frame, r, t0);
    if (ms < 0) ++missed;
    else picked.push_back(ms);
  }
  picker.Stop();
  for (int i = 0; i < 200; ++i) {
    const geometry::Rect r = Cell(i % (kColumns * kRows));
    const auto t0 = Clock::now();
    ::SetWindowPos(bench.frame.hwnd(), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    bare.push_back(WaitForFrame(bench.frame, r, t0));
  }
  ::TerminateProcess(pi.hProcess, 0);
  if (picked.empty()) return 4;
  Report("pointer move to frame on the window", picked);
  Report("anchor bare SetWindowPos to the same rectangles", bare);
  std::printf("moves the frame did not follow within 2 s: %d\n", missed);
  return 0;
}

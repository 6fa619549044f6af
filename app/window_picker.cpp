#include "app/window_picker.h"

#include "core/frame_tools.h"
#include "win/screen.h"
#include "win/failure_log.h"

namespace {

constexpr UINT kFollow = WM_APP + 1;  // the pointer moved
constexpr UINT kTake = WM_APP + 2;    // wp: 1 take, 0 cancel
constexpr UINT_PTR kPollTimer = 1;    // moves no hook sees (over windows of no program)

}  // namespace

bool WindowPicker::Start() {
  if (!Exists() && !Create({.className = L"Kirasoe.Picker"})) return false;
  watch_ = std::make_unique<win::InputWatch>(*this);
  if (!watch_->Watching()) {
    watch_.reset();
    return false;
  }
  cross_ = std::make_unique<win::CrossPointer>();
  hooks_ = HookWatch(::GetTickCount());
  shown_.reset();
  swallowUp_ = false;
  pointer_ = win::CursorPos();
  Follow(pointer_);
  ::SetTimer(hwnd(), kPollTimer, 30, nullptr);
  return true;
}

void WindowPicker::Stop() {
  if (Exists()) ::KillTimer(hwnd(), kPollTimer);
  watch_.reset();
  cross_.reset();
}

std::optional<geometry::Rect> WindowPicker::RectangleAt(geometry::Point at, bool control) {
  HWND top = win::TopLevelAt(at);
  if (!top) return std::nullopt;
  return frame_tools::FitPicked(win::VisibleBounds(control ? win::ControlAt(top, at) : top));
}

void WindowPicker::Follow(geometry::Point at) {
  pointer_ = at;
  const auto r = RectangleAt(at, ::GetAsyncKeyState(VK_CONTROL) < 0);
  if (!r || r == shown_) return;
  shown_ = r;
  owner_.PickShown(*r);
}

void WindowPicker::Finish(bool take) {
  if (!Picking()) return;
  if (take) Follow(pointer_);
  Stop();
  owner_.PickEnded(take ? shown_ : std::nullopt);
}

bool WindowPicker::HooksLost() {
  LASTINPUTINFO input{sizeof input, 0};
  if (!::GetLastInputInfo(&input)) return false;
  hooks_.Seen(watch_->LastCall());
  if (!hooks_.Lost(::GetTickCount(), input.dwTime)) return false;
  // Without the hooks no click or Esc would ever end the pick.
  win::LogFailure(L"window picker", L"the system removed the input hooks; picking cancelled");
  return true;
}

bool WindowPicker::PointerMoved(geometry::Point at) {
  // Followed from the message loop, once for all the moves that came
  // meanwhile, so that the pointer never waits for the frame.
  pointer_ = at;
  if (!followPosted_) followPosted_ = ::PostMessageW(hwnd(), kFollow, 0, 0) != 0;
  return false;
}

bool WindowPicker::ButtonPressed(UINT message, geometry::Point at) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
      pointer_ = at;
      swallowUp_ = true;
      ::PostMessageW(hwnd(), kTake, message == WM_LBUTTONDOWN, 0);
      return true;
    case WM_LBUTTONUP: case WM_RBUTTONUP: {
      const bool swallow = swallowUp_;
      swallowUp_ = false;
      return swallow;
    }
    default: return false;
  }
}

bool WindowPicker::KeyPressed(DWORD key) {
  if (key != VK_ESCAPE) return false;
  ::PostMessageW(hwnd(), kTake, 0, 0);
  return true;
}

LRESULT WindowPicker::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    switch (msg) {
      case kFollow:
        followPosted_ = false;
        if (Picking()) Follow(pointer_);
        return 0;
      case WM_TIMER:
        if (Picking() && HooksLost()) Finish(false);
        if (Picking() && !(win::CursorPos() == pointer_)) Follow(win::CursorPos());
        return 0;
      case kTake: Finish(wp != 0); return 0;
      default: break;
    }
  } catch (...) {
    // A handler's failure must not unwind through the system.
    win::LogCurrentException(L"window picker");
  }
  return Default(msg, wp, lp);
}

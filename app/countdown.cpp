#include "app/countdown.h"

#include "core/frame_tools.h"

namespace {

constexpr UINT kTickMilliseconds = 50;

}  // namespace

void Countdown::Start(int seconds, bool quick) {
  seconds_ = seconds;
  quick_ = quick;
  deadline_ = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  shown_ = -1;
  escWasDown_ = ::GetAsyncKeyState(VK_ESCAPE) < 0;
  Tick();
  if (seconds_) ticker_.Start(kTickMilliseconds, [this] { Tick(); });
}

void Countdown::Cancel() {
  ticker_.Stop();
  seconds_ = 0;
  Hide();
}

bool Countdown::EscPressed() {
  // Asked of the keyboard itself: the key goes to whatever program is in
  // front, which keeps it. A press shorter than a tick shows only as
  // "pressed since the last call".
  const SHORT state = ::GetAsyncKeyState(VK_ESCAPE);
  const bool down = state < 0;
  const bool pressed = (down && !escWasDown_) || (!down && (state & 1));
  escWasDown_ = down;
  return pressed;
}

void Countdown::Tick() {
  if (!seconds_) return;
  if (EscPressed()) {
    Cancel();
    return;
  }
  const auto left = static_cast<std::int64_t>(deadline_) - static_cast<std::int64_t>(::GetTickCount64());
  const int number = frame_tools::SecondsLeft(left);
  if (number > 0) {
    // The frame may have been moved meanwhile.
    const geometry::Rect anchor = owner_.CountdownAnchor();
    if (number == shown_ && anchor == shownBeside_) return;
    ShowText(std::to_wstring(number), anchor, anchor, 1500);
    shown_ = number;
    shownBeside_ = anchor;
    return;
  }
  const bool quick = quick_;
  Cancel();
  // The countdown is over before the capture starts, and starts again at
  // zero when the program could not capture now.
  if (!owner_.CountdownEnded(quick)) {
    seconds_ = 1;
    quick_ = quick;
    deadline_ = ::GetTickCount64();
    ticker_.Start(kTickMilliseconds, [this] { Tick(); });
  }
}

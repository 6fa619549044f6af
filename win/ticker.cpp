#include "win/ticker.h"

#include "win/failure_log.h"

namespace win {
namespace {

constexpr UINT_PTR kTimer = 1;

}  // namespace

bool Ticker::Start(unsigned milliseconds, std::function<void()> step) {
  if (!Exists() && !Create({.className = L"Kirasoe.Ticker", .style = 0, .exStyle = 0, .owner = HWND_MESSAGE}))
    return false;
  step_ = std::move(step);
  running_ = ::SetTimer(hwnd(), kTimer, milliseconds, nullptr) != 0;
  return running_;
}

void Ticker::Stop() {
  if (Exists()) ::KillTimer(hwnd(), kTimer);
  running_ = false;
}

LRESULT Ticker::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg != WM_TIMER || wp != kTimer) return Default(msg, wp, lp);
  // A step may stop its ticker, or start it again with another step.
  if (!running_) return 0;
  const std::function<void()> step = step_;
  try {
    step();
  } catch (...) {
    LogCurrentException(where_);
  }
  return 0;
}

}  // namespace win

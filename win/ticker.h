// A step that repeats on the window thread: the countdown, the watch and
// the recording each call theirs every few milliseconds while they run. A
// step that fails is logged (a failure that repeats, once with its count)
// and must not unwind through the system.
#pragma once

#include <functional>

#include "win/window.h"

namespace win {

class Ticker : public Window {
 public:
  // `where` names the step in the log.
  explicit Ticker(const wchar_t* where) : where_(where) {}
  // Calls `step` every `milliseconds` until Stop; false when the system
  // gives no timer.
  bool Start(unsigned milliseconds, std::function<void()> step);
  void Stop();
  bool Running() const { return running_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  const wchar_t* where_;
  std::function<void()> step_;
  bool running_ = false;
};

}  // namespace win

#include "core/hook_watch.h"

namespace {

// b - a across the tick counter's wrap.
std::int32_t Since(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(b - a); }

}  // namespace

void HookWatch::Seen(std::uint32_t when) {
  if (Since(seen_, when) > 0) seen_ = when;
}

bool HookWatch::Lost(std::uint32_t now, std::uint32_t lastInput) {
  if (Since(seen_, lastInput) <= kToleranceMs) {
    unseenSince_.reset();
    return false;
  }
  if (!unseenSince_) unseenSince_ = now;
  return Since(*unseenSince_, now) >= kLimitMs;
}

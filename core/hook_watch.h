// The system removes a low-level hook that answers too slowly, without a
// word: input then keeps coming that the hook never sees. Told when the
// hooks were last called and when the last input came, this says when they
// must be taken as gone. Times are the system's millisecond ticks.
#pragma once

#include <cstdint>
#include <optional>

class HookWatch {
 public:
  // Input newer than the hooks' last call by more than this is unseen.
  static constexpr std::int32_t kToleranceMs = 250;
  // Unseen input for this long means the hooks are gone.
  static constexpr std::int32_t kLimitMs = 2000;

  explicit HookWatch(std::uint32_t now) : seen_(now) {}
  // A hook was called at `when`; an older call changes nothing.
  void Seen(std::uint32_t when);
  bool Lost(std::uint32_t now, std::uint32_t lastInput);

 private:
  std::uint32_t seen_;
  std::optional<std::uint32_t> unseenSince_;
};

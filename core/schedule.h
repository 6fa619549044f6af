// Times that repeat: slot n of a schedule is due n periods after its start,
// counted from the start, so that a late tick never shifts the slots after
// it. Pure C++; the program's timers only ask it what is due.
#pragma once

#include <cstdint>

namespace schedule {

class Slots {
 public:
  // `periodMs` above 0.
  Slots(std::int64_t startMs, std::int64_t periodMs) : start_(startMs), period_(periodMs) {}
  std::int64_t DueAt(std::int64_t slot) const { return start_ + slot * period_; }
  // The last slot whose time has come at `nowMs` (-1 before the start).
  std::int64_t SlotAt(std::int64_t nowMs) const {
    if (nowMs < start_) return -1;
    return (nowMs - start_) / period_;
  }
  // When the slot after the one due at `nowMs` comes: a slot served late
  // does not make the next one come sooner or later than the schedule says.
  std::int64_t NextAfter(std::int64_t nowMs) const { return DueAt(SlotAt(nowMs) + 1); }

 private:
  std::int64_t start_, period_;
};

}  // namespace schedule

// What the program is busy with. One activity at a time starts; one may run
// inside another (a message during a capture, a move of the frame while the
// save dialog is open), and leaving one gives back what was before it,
// whatever order they are left in.
#pragma once

#include <vector>

// Exiting: the way out is under way (a recording's save dialog may still
// be open); nothing else starts, and a second close waits for it.
enum class Activity { Idle, Capturing, Menu, Dialog, MovingWindow, Picking, Selecting, Exiting };

class ActivityState {
 public:
  // Holds one activity until it is left or destroyed. Move-only.
  class Scope {
   public:
    Scope() = default;
    Scope(Scope&& other) noexcept { *this = static_cast<Scope&&>(other); }
    Scope& operator=(Scope&& other) noexcept;
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope() { Leave(); }
    void Leave();
    // False for a scope that holds nothing (refused, left or moved from).
    explicit operator bool() const { return state_ != nullptr; }

   private:
    friend class ActivityState;
    Scope(ActivityState* state, unsigned id) : state_(state), id_(id) {}
    ActivityState* state_ = nullptr;
    unsigned id_ = 0;
  };

  ActivityState() = default;
  ActivityState(const ActivityState&) = delete;
  ActivityState& operator=(const ActivityState&) = delete;

  // The activity entered last of those not yet left.
  Activity Current() const { return entries_.empty() ? Activity::Idle : entries_.back().what; }
  bool Busy() const { return !entries_.empty(); }
  // `what` runs, whatever runs inside it.
  bool Within(Activity what) const;
  // `what` runs inside whatever runs now, until the scope is left.
  [[nodiscard]] Scope Enter(Activity what);
  // `what` only when nothing else runs; an empty scope otherwise.
  [[nodiscard]] Scope Start(Activity what);

 private:
  struct Entry {
    unsigned id;
    Activity what;
  };
  void Remove(unsigned id);

  std::vector<Entry> entries_;
  unsigned nextId_ = 1;
};

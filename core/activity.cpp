#include "core/activity.h"

#include <algorithm>

ActivityState::Scope& ActivityState::Scope::operator=(Scope&& other) noexcept {
  if (this != &other) {
    Leave();
    state_ = other.state_;
    id_ = other.id_;
    other.state_ = nullptr;
  }
  return *this;
}

void ActivityState::Scope::Leave() {
  if (state_) state_->Remove(id_);
  state_ = nullptr;
}

ActivityState::Scope ActivityState::Enter(Activity what) {
  entries_.push_back({nextId_, what});
  return Scope(this, nextId_++);
}

ActivityState::Scope ActivityState::Start(Activity what) {
  if (Busy()) return {};
  return Enter(what);
}

bool ActivityState::Within(Activity what) const {
  return std::any_of(entries_.begin(), entries_.end(), [what](const Entry& e) { return e.what == what; });
}

void ActivityState::Remove(unsigned id) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; }),
                 entries_.end());
}

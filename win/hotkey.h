// A system-wide key combination, registered for one window while the object
// lives. A combination another program holds already is simply not ours.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

class HotKey {
 public:
  HotKey() = default;
  HotKey(HWND owner, int id, UINT modifiers, UINT key)
      : owner_(owner), id_(id), registered_(::RegisterHotKey(owner, id, modifiers | MOD_NOREPEAT, key) != 0) {}
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;
  HotKey(HotKey&& o) noexcept { *this = std::move(o); }
  HotKey& operator=(HotKey&& o) noexcept {
    if (this != &o) {
      Release();
      owner_ = o.owner_;
      id_ = o.id_;
      registered_ = o.registered_;
      o.registered_ = false;
    }
    return *this;
  }
  ~HotKey() { Release(); }
  bool Registered() const { return registered_; }

 private:
  void Release() {
    if (registered_ && ::IsWindow(owner_)) ::UnregisterHotKey(owner_, id_);
    registered_ = false;
  }
  HWND owner_ = nullptr;
  int id_ = 0;
  bool registered_ = false;
};

}  // namespace win

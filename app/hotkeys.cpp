#include "app/hotkeys.h"

void HotKeys::RegisterOne(std::size_t i, const options::KeyCombo& combo) {
  registered_[i] = combo.None() ? win::HotKey() : win::HotKey(owner_, static_cast<int>(i + 1), combo.modifiers, combo.key);
}

void HotKeys::Register(HWND owner, const options::Options& options) {
  owner_ = owner;
  for (std::size_t i = 0; i < options::kHotKeyCount; ++i) RegisterOne(i, options.keys[i]);
}

HotKeyChoice HotKeys::Apply(const HotKeyChoice& wanted, options::Options& options) {
  const options::Options before = options;
  // All let go first, so that two may change places.
  for (auto& key : registered_) key = {};
  HotKeyChoice result = wanted;
  for (std::size_t i = 0; i < options::kHotKeyCount; ++i) {
    RegisterOne(i, wanted.keys[i]);
    options.keys[i] = wanted.keys[i];
    const bool refused = !Holds(options, i) && !(wanted.keys[i] == before.keys[i]);
    if (refused) {
      RegisterOne(i, before.keys[i]);
      options.keys[i] = before.keys[i];
    }
    // The field shows "taken" for the combination it holds: the one
    // refused, or the one kept that another program holds.
    result.taken[i] = refused || !Holds(options, i);
    result.refused = result.refused || refused;
  }
  return result;
}

HotKeyChoice HotKeys::Current(const options::Options& options) const {
  HotKeyChoice current{options.keys};
  for (std::size_t i = 0; i < options::kHotKeyCount; ++i) current.taken[i] = !Holds(options, i);
  return current;
}

std::wstring HotKeys::Taken(const options::Options& options) const {
  std::wstring taken;
  for (std::size_t i = 0; i < options::kHotKeyCount; ++i)
    if (!Holds(options, i)) taken += (taken.empty() ? L"" : L", ") + options::KeyName(options.keys[i]);
  return taken;
}

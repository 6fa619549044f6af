// The program's hotkeys, registered for the camera window: registered at
// start, changed from the dialog 「ホットキー」, and shown as taken where
// another program holds one. A hotkey's id is its index in the options'
// keys plus one.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/hotkey_dialog.h"
#include "core/options.h"
#include "win/hotkey.h"

class HotKeys {
 public:
  // The index into the options' keys of the hotkey `id`.
  static std::size_t IndexOf(int id) { return static_cast<std::size_t>(id - 1); }

  // Registers the combinations of `options`; one another program holds is
  // simply not ours (no message at start).
  void Register(HWND owner, const options::Options& options);
  // Tries `wanted`; a combination refused leaves the previous one of
  // `options` in place. `options` gets what is in force.
  HotKeyChoice Apply(const HotKeyChoice& wanted, options::Options& options);
  // The dialog's state: the combinations and which of them are taken.
  HotKeyChoice Current(const options::Options& options) const;
  // The combinations another program holds, by name ("" when none).
  std::wstring Taken(const options::Options& options) const;

 private:
  bool Holds(const options::Options& options, std::size_t i) const {
    return options.keys[i].None() || registered_[i].Registered();
  }
  void RegisterOne(std::size_t i, const options::KeyCombo& combo);

  HWND owner_ = nullptr;
  std::array<win::HotKey, options::kHotKeyCount> registered_;
};

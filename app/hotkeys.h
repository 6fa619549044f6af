// The two hotkeys of the program, the capture and the quick capture,
// registered for the camera window: registered at start, changed from the
// dialog 「ホットキー」, and shown as taken where another program holds one.
#pragma once

#include <windows.h>

#include <string>

#include "app/hotkey_dialog.h"
#include "core/options.h"
#include "win/hotkey.h"

class HotKeys {
 public:
  static constexpr int kCaptureId = 1, kQuickId = 2;

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
  bool Holds(const options::KeyCombo& combo, const win::HotKey& key) const { return combo.None() || key.Registered(); }

  HWND owner_ = nullptr;
  win::HotKey capture_, quick_;
};

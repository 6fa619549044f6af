// The dialog 「ホットキー」: the key combinations of the capture, the quick
// capture and the two selections in the system's hotkey controls. A combination that cannot
// be registered is reported beside its field and the previous one stays.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "core/options.h"
#include "core/texts.h"

struct HotKeyChoice {
  std::array<options::KeyCombo, options::kHotKeyCount> keys;
  std::array<bool, options::kHotKeyCount> taken{};  // another program holds it
  bool refused = false;  // a combination newly chosen could not be had
};

// Tries the combinations chosen; says which of them another program holds
// (a new one refused leaves the previous one in place).
using HotKeyApply = std::function<HotKeyChoice(const HotKeyChoice& wanted)>;

// Shows the dialog with `current` until OK succeeds or it is cancelled.
void AskHotKeys(HWND owner, const HotKeyChoice& current, const HotKeyApply& apply, texts::Language language);

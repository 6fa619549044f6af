// The submenu 「設定」: the pointer in the picture and the hotkeys, kept in
// a section of their own of the settings file.
#include "app/program.h"
#include "win/profile.h"

namespace {

win::HotKey Register(HWND owner, int id, const options::KeyCombo& combo) {
  if (combo.None()) return {};
  return win::HotKey(owner, id, combo.modifiers, combo.key);
}

}  // namespace

void Program::RunSettingsCommand(const MenuChoice& choice) {
  if (choice.command == MenuCommand::Pointer) {
    store_.options.pointer = !store_.options.pointer;
    return;
  }
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  HotKeyChoice current{store_.options.capture, store_.options.quick, !store_.options.capture.None() && !captureKey_.Registered(),
                       !store_.options.quick.None() && !quickKey_.Registered()};
  AskHotKeys(camera_.hwnd(), current, [this](const HotKeyChoice& wanted) { return ApplyHotKeys(wanted); });
}

void Program::RegisterHotKeys() {
  // Captures from the keyboard, whatever program is in front. A combination
  // another program holds is shown as taken in the menu and the dialog.
  captureKey_ = Register(camera_.hwnd(), kCaptureHotKeyId, store_.options.capture);
  quickKey_ = Register(camera_.hwnd(), kQuickHotKeyId, store_.options.quick);
}

HotKeyChoice Program::ApplyHotKeys(const HotKeyChoice& wanted) {
  const options::Options before = store_.options;
  // Both let go first, so that the two may change places.
  captureKey_ = {};
  quickKey_ = {};
  HotKeyChoice result = wanted;
  captureKey_ = Register(camera_.hwnd(), kCaptureHotKeyId, wanted.capture);
  quickKey_ = Register(camera_.hwnd(), kQuickHotKeyId, wanted.quick);
  const bool captureRefused = !wanted.capture.None() && !captureKey_.Registered() && !(wanted.capture == before.capture);
  const bool quickRefused = !wanted.quick.None() && !quickKey_.Registered() && !(wanted.quick == before.quick);
  // A combination refused leaves the previous one in place.
  if (captureRefused) captureKey_ = Register(camera_.hwnd(), kCaptureHotKeyId, before.capture);
  if (quickRefused) quickKey_ = Register(camera_.hwnd(), kQuickHotKeyId, before.quick);
  store_.options.capture = captureRefused ? before.capture : wanted.capture;
  store_.options.quick = quickRefused ? before.quick : wanted.quick;
  // The field shows "taken" for the combination it holds: the one refused,
  // or the one kept that another program holds.
  result.captureTaken = captureRefused || (!store_.options.capture.None() && !captureKey_.Registered());
  result.quickTaken = quickRefused || (!store_.options.quick.None() && !quickKey_.Registered());
  result.refused = captureRefused || quickRefused;
  return result;
}

std::wstring Program::HotKeysTaken() const {
  std::wstring taken;
  for (const auto& [combo, key] : {std::pair{store_.options.capture, &captureKey_}, std::pair{store_.options.quick, &quickKey_}})
    if (!combo.None() && !key->Registered()) taken += (taken.empty() ? L"" : L", ") + options::KeyName(combo);
  return taken;
}

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
    options_.pointer = !options_.pointer;
    optionsChanged_ = true;
    return;
  }
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  HotKeyChoice current{options_.capture, options_.quick, !options_.capture.None() && !captureKey_.Registered(),
                       !options_.quick.None() && !quickKey_.Registered()};
  AskHotKeys(camera_.hwnd(), current, [this](const HotKeyChoice& wanted) { return ApplyHotKeys(wanted); });
}

void Program::RegisterHotKeys() {
  // Captures from the keyboard, whatever program is in front. A combination
  // another program holds is shown as taken in the menu and the dialog.
  captureKey_ = Register(camera_.hwnd(), kCaptureHotKeyId, options_.capture);
  quickKey_ = Register(camera_.hwnd(), kQuickHotKeyId, options_.quick);
}

HotKeyChoice Program::ApplyHotKeys(const HotKeyChoice& wanted) {
  const options::Options before = options_;
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
  options_.capture = captureRefused ? before.capture : wanted.capture;
  options_.quick = quickRefused ? before.quick : wanted.quick;
  // The field shows "taken" for the combination it holds: the one refused,
  // or the one kept that another program holds.
  result.captureTaken = captureRefused || (!options_.capture.None() && !captureKey_.Registered());
  result.quickTaken = quickRefused || (!options_.quick.None() && !quickKey_.Registered());
  result.refused = captureRefused || quickRefused;
  optionsChanged_ = optionsChanged_ || !(options_ == before);
  return result;
}

std::wstring Program::HotKeysTaken() const {
  std::wstring taken;
  for (const auto& [combo, key] : {std::pair{options_.capture, &captureKey_}, std::pair{options_.quick, &quickKey_}})
    if (!combo.None() && !key->Registered()) taken += (taken.empty() ? L"" : L", ") + options::KeyName(combo);
  return taken;
}

void Program::ReadOptions() {
  const std::wstring path = win::SettingsFilePath();
  options_ = options::Read([&path](const std::wstring& key) { return win::ReadProfile(path, options::kSection, key); });
}

void Program::WriteOptions(const std::wstring& path) {
  // A file whose options were never changed is left as it was.
  if (!optionsChanged_) return;
  for (const auto& [key, value] : options::Writes(options_)) win::WriteProfile(path, options::kSection, key, value);
}

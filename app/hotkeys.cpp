#include "app/hotkeys.h"

namespace {

win::HotKey Registered(HWND owner, int id, const options::KeyCombo& combo) {
  if (combo.None()) return {};
  return win::HotKey(owner, id, combo.modifiers, combo.key);
}

}  // namespace

void HotKeys::Register(HWND owner, const options::Options& options) {
  owner_ = owner;
  capture_ = Registered(owner_, kCaptureId, options.capture);
  quick_ = Registered(owner_, kQuickId, options.quick);
}

HotKeyChoice HotKeys::Apply(const HotKeyChoice& wanted, options::Options& options) {
  const options::Options before = options;
  // Both let go first, so that the two may change places.
  capture_ = {};
  quick_ = {};
  capture_ = Registered(owner_, kCaptureId, wanted.capture);
  quick_ = Registered(owner_, kQuickId, wanted.quick);
  const bool captureRefused = !Holds(wanted.capture, capture_) && !(wanted.capture == before.capture);
  const bool quickRefused = !Holds(wanted.quick, quick_) && !(wanted.quick == before.quick);
  if (captureRefused) capture_ = Registered(owner_, kCaptureId, before.capture);
  if (quickRefused) quick_ = Registered(owner_, kQuickId, before.quick);
  options.capture = captureRefused ? before.capture : wanted.capture;
  options.quick = quickRefused ? before.quick : wanted.quick;
  // The field shows "taken" for the combination it holds: the one refused,
  // or the one kept that another program holds.
  HotKeyChoice result = wanted;
  result.captureTaken = captureRefused || !Holds(options.capture, capture_);
  result.quickTaken = quickRefused || !Holds(options.quick, quick_);
  result.refused = captureRefused || quickRefused;
  return result;
}

HotKeyChoice HotKeys::Current(const options::Options& options) const {
  return {options.capture, options.quick, !Holds(options.capture, capture_), !Holds(options.quick, quick_)};
}

std::wstring HotKeys::Taken(const options::Options& options) const {
  std::wstring taken;
  for (const auto& [combo, key] : {std::pair{options.capture, &capture_}, std::pair{options.quick, &quick_}})
    if (!Holds(combo, *key)) taken += (taken.empty() ? L"" : L", ") + options::KeyName(combo);
  return taken;
}

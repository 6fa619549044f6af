// The submenu 「設定」: the pointer in the picture, the hotkeys and the
// language, kept in a section of their own of the settings file. It holds
// the two hotkeys.
#pragma once

#include <string>

#include "app/hotkeys.h"
#include "app/popup_menu.h"
#include "app/voice.h"
#include "core/activity.h"
#include "core/options.h"
#include "win/window.h"

class SettingsCommands {
 public:
  SettingsCommands(ActivityState& activity, options::Options& options, const win::Window& dialogOwner, Voice voice)
      : activity_(activity), options_(options), dialogOwner_(dialogOwner), voice_(voice) {}
  // Registers the hotkeys for `camera`; one another program holds is
  // simply not ours (no message at start).
  void RegisterHotKeys(HWND camera) { hotKeys_.Register(camera, options_); }
  void Run(const MenuChoice& choice);
  // The combinations another program holds, by name ("" when none).
  std::wstring TakenHotKeys() const { return hotKeys_.Taken(options_); }

 private:
  ActivityState& activity_;
  options::Options& options_;
  const win::Window& dialogOwner_;
  Voice voice_;
  HotKeys hotKeys_;
};

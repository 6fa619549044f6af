// The submenu 「設定」: the pointer in the picture and the hotkeys, kept in
// a section of their own of the settings file.
#include "app/program.h"

void Program::RunSettingsCommand(const MenuChoice& choice) {
  if (choice.command == MenuCommand::Pointer) {
    store_.options.pointer = !store_.options.pointer;
    return;
  }
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  AskHotKeys(camera_.hwnd(), hotKeys_.Current(store_.options),
             [this](const HotKeyChoice& wanted) { return hotKeys_.Apply(wanted, store_.options); });
}

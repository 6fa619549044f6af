// The submenu 「設定」: the pointer in the picture, the hotkeys and the
// language, kept in a section of their own of the settings file.
#include "app/program.h"

void Program::RunSettingsCommand(const MenuChoice& choice) {
  if (choice.command == MenuCommand::Pointer) {
    store_.options.pointer = !store_.options.pointer;
    return;
  }
  if (choice.command == MenuCommand::Language) {
    // From the next menu, dialog, label or message on.
    store_.options.language = static_cast<texts::Choice>(choice.index);
    return;
  }
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  AskHotKeys(camera_.hwnd(), hotKeys_.Current(store_.options),
             [this](const HotKeyChoice& wanted) { return hotKeys_.Apply(wanted, store_.options); }, Language());
}

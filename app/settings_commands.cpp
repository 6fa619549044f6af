#include "app/settings_commands.h"

#include "app/hotkey_dialog.h"

void SettingsCommands::Run(const MenuChoice& choice) {
  if (choice.command == MenuCommand::Pointer) {
    options_.pointer = !options_.pointer;
    return;
  }
  if (choice.command == MenuCommand::EditAfterCapture) {
    options_.editAfterCapture = !options_.editAfterCapture;
    return;
  }
  if (choice.command == MenuCommand::Language) {
    // From the next menu, dialog, label or message on.
    options_.language = static_cast<texts::Choice>(choice.index);
    return;
  }
  if (choice.command != MenuCommand::HotKeys) return;
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  AskHotKeys(dialogOwner_.hwnd(), hotKeys_.Current(options_),
             [this](const HotKeyChoice& wanted) { return hotKeys_.Apply(wanted, options_); }, voice_.Language());
}

#include "app/standalone_command.h"

#include <optional>

#include "app/command_port.h"
#include "app/command_runner.h"
#include "core/capture_area.h"
#include "core/settings_store.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/image_library.h"
#include "win/profile.h"
#include "win/screen.h"

namespace {

// Commands never show a dialog: their messages go to the output.
class NoOwner : public win::Window {};

command_line::Outcome Run(const command_line::Command& command, const std::function<void()>& listening,
                          const settings::Store& store) {
  const CaptureArea frame(store.data.snap, win::CurrentScale());
  ActivityState activity;
  NoOwner owner;
  CommandRunner runner({activity, store, frame, nullptr, owner});
  std::optional<command_line::Outcome> own;
  const auto no = [] { return false; };
  CommandPort port({runner, no, no, no, [&own] {
                      if (own) ::PostQuitMessage(0);
                    }});
  if (!port.Open()) win::LogFailure(L"command", L"no command window: " + win::SystemMessage(::GetLastError()));
  listening();
  port.RunOwn(command, [&own](const command_line::Outcome& outcome) { own = outcome; });
  MSG msg;
  while (!(own && port.Idle()) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  port.Close();
  return own.value_or(command_line::Outcome{command_line::Failed, {}, L"the command was ended\n"});
}

}  // namespace

command_line::Outcome RunStandalone(const command_line::Command& command, const std::function<void()>& listening) {
  command_line::Outcome outcome;
  try {
    imgctl::Load();
    win::ProfileFile file;
    settings::Store store{file};
    // Without a settings file there is no frame: /area still works.
    store.Read();
    outcome = Run(command, listening, store);
  } catch (...) {
    listening();
    outcome = {command_line::Failed, {}, L"the command could not run: " + win::CurrentExceptionText() + L"\n"};
  }
  // A picture only promised to the clipboard is made before the process goes.
  win::clipboard::RenderBeforeExit();
  win::FlushFailureLog();
  return outcome;
}

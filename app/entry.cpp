// Kirasoe: the program starts its windows, and from then on everything
// happens in their handlers on this one thread. With switches it is a
// command: handed to the Kirasoe that runs, or run without one.
#include "app/entry.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "app/standalone_command.h"
#include "core/command_line.h"
#include "win/console_output.h"
#include "win/instance_link.h"
#include "win/files.h"
#include "win/module.h"

namespace {

std::vector<std::wstring> Arguments() {
  return command_line::SplitArguments(command_line::AfterProgramName(::GetCommandLineW()));
}

int Report(const command_line::Outcome& outcome) {
  win::PrintOut(outcome.out);
  win::PrintError(outcome.err);
  return outcome.code;
}

int RunCommand(command_line::Command command) {
  // The running Kirasoe has another current folder.
  if (!command.out.empty()) command.out = win::FullPath(command.out);
  // A Kirasoe on its way out refuses, and the next look finds none.
  for (int tries = 0; tries < 5; ++tries) {
    win::instance::StartLock lock;
    if (HWND running = win::instance::Find()) {
      lock.Release();
      if (const auto outcome = win::instance::HandOver(running, command_line::Format(command))) return Report(*outcome);
      ::Sleep(100);
      continue;
    }
    // Nothing runs that a command started.
    if (command.action == command_line::Action::Stop) return command_line::Done;
    return Report(RunStandalone(command, [&lock] { lock.Release(); }));
  }
  return Report({command_line::Failed, {}, L"Kirasoe did not take the command\n"});
}

int RunProgram() {
  win::instance::StartLock lock;
  // A second start brings the first one's camera to the front.
  if (HWND running = win::instance::Find(); running && win::instance::AskToFront(running)) return 0;
  Program program;
  program.Start();
  lock.Release();
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  program.Exit();
  return 0;
}

// Typed without switches in a console: the program starts on its own, and
// the prompt comes back at once.
int StartBeside() {
  std::wstring line = L"\"" + win::instance::Title() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(win::instance::Title().c_str(), line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &process))
    return Report({command_line::Failed, {}, L"cannot start " + win::instance::Title() + L": " +
                                                 win::SystemMessage(::GetLastError()) + L"\n"});
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return command_line::Done;
}

}  // namespace

int KirasoeMain(bool console) {
  // Libraries loaded by name come from the system folder only, never from the
  // current folder or PATH, where anybody may have put a file of that name.
  ::SetDllDirectoryW(L"");
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  const std::vector<std::wstring> arguments = Arguments();
  if (arguments.empty()) return console ? StartBeside() : RunProgram();
  const command_line::Parsed parsed = command_line::Parse(arguments);
  if (!parsed.error.empty()) return Report({command_line::UsageError, {}, parsed.error + L"\n\n" + command_line::Usage()});
  if (parsed.command.action == command_line::Action::Help) return Report({command_line::Done, command_line::Usage(), {}});
  return RunCommand(parsed.command);
}

// Where scripts reach a Kirasoe that runs: a hidden window the second
// kirasoe.exe finds, which takes its commands, runs them one after the
// other once the program is free, and answers each with its outcome. A
// command that waits longer than 10 s for a dialog or the menu to close
// is answered that the program stayed busy.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "app/command_runner.h"
#include "core/command_line.h"
#include "win/ticker.h"
#include "win/window.h"

class CommandPort : public win::Window {
 public:
  struct Needs {
    CommandRunner& runner;
    // A dialog, the menu, a capture or a drag of the program runs.
    std::function<bool()> busy;
    // The user's own watch or recording runs.
    std::function<bool()> watchingOrRecording;
    // Brings the camera to the front; false when there is none.
    std::function<bool()> toFront;
    // Nothing is waiting or running any more.
    std::function<void()> idle;
  };
  explicit CommandPort(const Needs& needs) : needs_(needs) {}

  // Opens the window: from then on a second kirasoe.exe finds it. False
  // when the system refused.
  bool Open();
  // Takes no command any more: those waiting are answered that Kirasoe
  // ended, and what runs is stopped.
  void Close();
  // A command of this process, run as those handed over are.
  void RunOwn(const command_line::Command& command, CommandRunner::Done done);
  bool Idle() const { return waiting_.empty() && !running_ && !needs_.runner.Running(); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  struct Waiting {
    command_line::Command command;
    HWND from = nullptr;              // the instance that waits for the answer
    CommandRunner::Done done;         // or this process's own
    ULONGLONG since = 0;
  };
  LRESULT Received(WPARAM wp, LPARAM lp);
  // Runs what waits, as far as the program lets it.
  void Next();
  // False when `waiting` has to wait longer.
  bool Start(Waiting& waiting);
  void Answer(const Waiting& waiting, const command_line::Outcome& outcome);

  Needs needs_;
  std::deque<Waiting> waiting_;
  bool running_ = false;  // a capture runs (it answers messages meanwhile)
  bool closed_ = false;
  win::Ticker ticker_{L"command port"};
};

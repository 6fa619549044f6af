#include "app/command_port.h"

#include "win/failure_log.h"
#include "win/instance_link.h"

namespace {

constexpr UINT kNext = WM_APP + 1;
constexpr ULONGLONG kBusyLimitMs = 10000;

}  // namespace

bool CommandPort::Open() {
  if (!Create({.className = win::instance::kCommandClass, .title = win::instance::Title().c_str(), .exStyle = 0}))
    return false;
  // While commands wait for the program to be free.
  return ticker_.Start(100, [this] { Next(); });
}

void CommandPort::Close() {
  closed_ = true;
  Destroy();
  ticker_.Stop();
  needs_.runner.StopForExit();
  while (!waiting_.empty()) {
    const Waiting waiting = std::move(waiting_.front());
    waiting_.pop_front();
    Answer(waiting, {command_line::Failed, {}, L"Kirasoe ended before the command ran\n"});
  }
}

void CommandPort::RunOwn(const command_line::Command& command, CommandRunner::Done done) {
  waiting_.push_back({command, nullptr, std::move(done), ::GetTickCount64()});
  Next();
}

LRESULT CommandPort::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    if (msg == WM_COPYDATA) return Received(wp, lp);
    if (msg == kNext) Next();
  } catch (...) {
    win::LogCurrentException(L"command");
    return FALSE;
  }
  return Default(msg, wp, lp);
}

LRESULT CommandPort::Received(WPARAM wp, LPARAM lp) {
  const std::optional<win::instance::Received> received = win::instance::Read(wp, lp);
  if (!received || closed_) return FALSE;
  if (received->kind == win::instance::Kind::Front) return needs_.toFront() ? TRUE : FALSE;
  if (received->kind != win::instance::Kind::Command || !received->from) return FALSE;
  const command_line::Parsed parsed = command_line::Parse(received->fields);
  waiting_.push_back({parsed.command, received->from, nullptr, ::GetTickCount64()});
  // The sender checked the switches; a version that reads them otherwise
  // gets its usage error back.
  if (!parsed.error.empty()) {
    Answer(waiting_.back(), {command_line::UsageError, {}, parsed.error + L"\n"});
    waiting_.pop_back();
    return TRUE;
  }
  // Run once the sender is waiting for the answer.
  ::PostMessageW(hwnd(), kNext, 0, 0);
  return TRUE;
}

void CommandPort::Next() {
  if (running_) return;
  while (!waiting_.empty() && Start(waiting_.front())) {
  }
  if (Idle() && needs_.idle) needs_.idle();
}

bool CommandPort::Start(Waiting& front) {
  const command_line::Action action = front.command.action;
  const bool waits = action != command_line::Action::Stop && !needs_.runner.Running() &&
                     !needs_.watchingOrRecording() && needs_.busy();
  if (waits && ::GetTickCount64() - front.since < kBusyLimitMs) return false;
  const Waiting waiting = std::move(front);
  waiting_.pop_front();
  if (waits) {
    Answer(waiting, {command_line::InstanceBusy, {}, L"Kirasoe stayed busy for 10 s (a dialog or its menu is open)\n"});
  } else if (action == command_line::Action::Stop) {
    needs_.runner.Stop();
    Answer(waiting, {});
  } else if (needs_.watchingOrRecording()) {
    Answer(waiting, {command_line::Failed, {}, L"Kirasoe is watching or recording; end that first\n"});
  } else {
    running_ = true;
    needs_.runner.Run(waiting.command, [this, waiting](const command_line::Outcome& outcome) { Answer(waiting, outcome); });
    running_ = false;
  }
  return true;
}

void CommandPort::Answer(const Waiting& waiting, const command_line::Outcome& outcome) {
  // What waits next, and the end of a process that ran only commands.
  if (!closed_) ::PostMessageW(hwnd(), kNext, 0, 0);
  if (waiting.done) return waiting.done(outcome);
  if (!win::instance::Answer(waiting.from, outcome))
    win::LogFailure(L"command", L"the kirasoe.exe that asked has gone; its answer was: " + outcome.out + outcome.err);
}

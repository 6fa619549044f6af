#include "app/saver.h"

#include "win/failure_log.h"
#include "win/screen.h"

bool Saver::Start(win::LibraryPicture pixels, const save_names::FileType& type, const std::wstring& path,
                  win::WriteOutcome& failure) {
  auto held = std::make_shared<win::LibraryPicture>(std::move(pixels));
  return Start([held, type, path] { return win::WriteImage(*held, type, path); }, failure);
}

bool Saver::Start(std::function<win::WriteOutcome()> write, win::WriteOutcome& failure) {
  // Reached only if a write could start inside another: the first one's
  // outcome must not be lost, so the second is refused.
  if (Pending()) {
    failure = {.systemError = ERROR_BUSY};
    return false;
  }
  job_ = std::make_unique<Job>(Job{std::move(write), {}});
  thread_.reset(::CreateThread(nullptr, 0, &Saver::Run, job_.get(), 0, nullptr));
  if (thread_) return true;
  failure = {.systemError = ::GetLastError()};
  job_.reset();
  return false;
}

win::WriteOutcome Saver::Finish() {
  if (!job_) return {};
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  WaitAnswering();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  const win::WriteOutcome outcome = job_->outcome;
  job_.reset();
  return outcome;
}

win::WriteOutcome Saver::WriteAnswering(win::LibraryPicture pixels, const save_names::FileType& type,
                                        const std::wstring& path) {
  win::WriteOutcome failure;
  return Start(std::move(pixels), type, path, failure) ? Finish() : failure;
}

win::WriteOutcome Saver::RunAnswering(std::function<win::WriteOutcome()> write) {
  win::WriteOutcome failure;
  return Start(std::move(write), failure) ? Finish() : failure;
}

DWORD WINAPI Saver::Run(void* job) noexcept {
  auto& work = *static_cast<Job*>(job);
  try {
    work.outcome = work.write();
  } catch (...) {
    win::LogCurrentException(L"saver");
    work.outcome = {.systemError = ERROR_OUTOFMEMORY};  // what a write may throw: memory
  }
  return 0;
}

void Saver::WaitAnswering() {
  // Woken by the end of the writer or by a message: no polling. A close
  // handled meanwhile waits for the file itself (WaitForPending) and ends.
  while (thread_) {
    HANDLE thread = thread_.get();
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0 + 1) {
      win::PumpPending();
      continue;
    }
    WaitForPending();
  }
}

void Saver::WaitForPending() {
  if (!thread_) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

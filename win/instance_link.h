// Two kirasoe.exe of one folder: the second hands its command to the one
// that runs (or asks it to bring its camera to the front) and waits for the
// outcome, which comes back as a message to a window of its own. The
// running one is found by its command window, whose title is the exe's
// path: a copy in another folder has other settings, and is another program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/command_line.h"

namespace win::instance {

inline constexpr wchar_t kCommandClass[] = L"Kirasoe.Commands";
// What a WM_COPYDATA between two instances carries; its wParam is the
// window the answer goes to.
enum class Kind : ULONG_PTR { Command = 0x4B490001, Front = 0x4B490002, Outcome = 0x4B490003 };

// The command window of a Kirasoe of this folder that runs, or null.
HWND Find();
// The title of this instance's command window.
std::wstring Title();

// Hands `arguments` to `instance` and waits, answering messages, for its
// outcome; nullopt when it is gone or on its way out (nothing was done).
std::optional<command_line::Outcome> HandOver(HWND instance, const std::vector<std::wstring>& arguments);
// Asks `instance` to bring its camera to the front: false when it has none.
bool AskToFront(HWND instance);

// A WM_COPYDATA of ours, read on the receiving side.
struct Received {
  Kind kind;
  HWND from;
  std::vector<std::wstring> fields;
};
std::optional<Received> Read(WPARAM wp, LPARAM lp);
// Sends the outcome to the instance waiting at `to`; false when it has gone.
bool Answer(HWND to, const command_line::Outcome& outcome);

// One Kirasoe of this folder at a time decides whether it is the first:
// held from the look for a running one until its own command window is
// there. Empty when the system gives no mutex (each decides alone).
class StartLock {
 public:
  StartLock();
  ~StartLock();
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;
  void Release();

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace win::instance

// Writes the image files on a thread of their own, one at a time, while the
// window thread keeps answering the system (repaints, a close, the end of
// the session). The writer gets the pixels in memory and touches no object
// of the window thread; a write never replaces one still pending.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/save_names.h"
#include "win/handles.h"
#include "win/image_writer.h"

class Saver {
 public:
  Saver() = default;
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;
  ~Saver() { WaitForPending(); }

  bool Pending() const { return static_cast<bool>(job_); }
  // Starts writing `pixels` to `path`; false, with `failure` saying why, when
  // the write cannot start (another still pending, no thread).
  bool Start(win::LibraryPicture pixels, const save_names::FileType& type, const std::wstring& path,
             win::WriteOutcome& failure);
  // The calling thread keeps handling its messages, with a busy pointer,
  // until the write started is complete; its outcome.
  win::WriteOutcome Finish();
  // Both: returns when the file is complete.
  win::WriteOutcome WriteAnswering(win::LibraryPicture pixels, const save_names::FileType& type,
                                   const std::wstring& path);
  // Any write (an animation's file) on the saver's thread, the same way.
  win::WriteOutcome RunAnswering(std::function<win::WriteOutcome()> write);
  // Blocks until a pending write is complete: the program ends after it.
  void WaitForPending();

 private:
  struct Job {
    std::function<win::WriteOutcome()> write;
    win::WriteOutcome outcome;
  };
  bool Start(std::function<win::WriteOutcome()> write, win::WriteOutcome& failure);
  static DWORD WINAPI Run(void* job) noexcept;
  void WaitAnswering();

  std::unique_ptr<Job> job_;
  win::UniqueHandle thread_;
};

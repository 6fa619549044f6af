// What goes into the failure log: a failure that repeats (a timer failing
// at every tick) is written once and then counted, and the log is kept to
// about a mebibyte. Pure C++; the program writes the lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace log_rules {

// The log is cut back to its newest half once it would grow past this.
inline constexpr std::uint64_t kMaxBytes = 1024 * 1024;
// The bytes of the newest lines kept when it is cut back.
inline constexpr std::uint64_t kKeptBytes = kMaxBytes / 2;

// Whether a log of `size` bytes is cut back before `adding` more.
inline bool CutBack(std::uint64_t size, std::uint64_t adding) { return size + adding > kMaxBytes; }

// Decides for each failure which lines it writes.
class Repeats {
 public:
  // The lines to write for `failure` ("where: what"): none while it is the
  // one written last; otherwise a count of the repeats before it, if any,
  // and itself.
  std::vector<std::wstring> Lines(const std::wstring& failure);
  // The count of repeats not written yet (at the end of the program).
  std::vector<std::wstring> Flush();

 private:
  std::wstring last_;
  std::int64_t repeats_ = 0;
};

}  // namespace log_rules

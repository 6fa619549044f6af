// Failures that no message tells the user of: a line each in kirasoe.log
// beside the program (named after it, like the settings file), so that a
// handler that must not let a failure unwind through the system still says
// what failed.
#pragma once

#include <string>

namespace win {

std::wstring FailureLogPath();

// What the exception being handled says; call inside a catch block.
std::wstring CurrentExceptionText() noexcept;

// Appends "<local time> <where>: <what>" to the log; the same failure again
// is only counted, and the count written with the next other one. The log
// is cut back to its newest lines before it passes about a mebibyte.
void LogFailure(const std::wstring& where, const std::wstring& what) noexcept;
// Writes the count of a failure that repeated since it was written.
void FlushFailureLog() noexcept;
// Inside a catch block: the exception being handled, logged.
void LogCurrentException(const wchar_t* where) noexcept;

}  // namespace win

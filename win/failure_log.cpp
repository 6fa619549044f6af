#include "win/failure_log.h"

#include <windows.h>

#include <cwchar>
#include <exception>
#include <mutex>
#include <system_error>

#include "core/log_rules.h"

#include "win/module.h"

namespace win {
namespace {

std::wstring Widen(const char* text) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::string Utf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring FailureLogPath() {
  std::wstring path = ExeFolder();
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + ExeBaseName() + L".log";
}

std::wstring CurrentExceptionText() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return L"out of memory";
  } catch (const std::exception& e) {
    return Widen(e.what());
  } catch (...) {
    return L"unknown exception";
  }
}

namespace {

// The newest lines of the log at `path` only, from a line's start on.
void CutBack(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  std::string kept;
  if (::GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) > log_rules::kKeptBytes) {
    kept.resize(log_rules::kKeptBytes);
    LARGE_INTEGER from{};
    from.QuadPart = size.QuadPart - static_cast<LONGLONG>(log_rules::kKeptBytes);
    DWORD read = 0;
    if (::SetFilePointerEx(file, from, nullptr, FILE_BEGIN) &&
        ::ReadFile(file, kept.data(), static_cast<DWORD>(kept.size()), &read, nullptr)) {
      kept.resize(read);
      const std::size_t lineStart = kept.find('\n');
      kept.erase(0, lineStart == std::string::npos ? kept.size() : lineStart + 1);
      LARGE_INTEGER start{};
      DWORD written = 0;
      if (::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        ::WriteFile(file, kept.data(), static_cast<DWORD>(kept.size()), &written, nullptr);
      ::SetEndOfFile(file);
    }
  }
  ::CloseHandle(file);
}

bool Append(const std::wstring& path, const std::string& line) {
  HANDLE log = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  const bool full = ::GetFileSizeEx(log, &size) && log_rules::CutBack(static_cast<std::uint64_t>(size.QuadPart), line.size());
  if (full) {
    ::CloseHandle(log);
    CutBack(path);
    log = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return false;
  }
  DWORD written = 0;
  const bool kept = ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(log);
  return kept;
}

void WriteStamped(const std::wstring& text) {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  wchar_t stamp[32];
  std::swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  // Where the log cannot be written either, a debugger still sees it.
  if (!Append(FailureLogPath(), Utf8(stamp + text + L"\r\n"))) ::OutputDebugStringW(text.c_str());
}

// Failures come from the window thread and the writers' threads alike.
std::mutex& LogLock() {
  static std::mutex lock;
  return lock;
}

log_rules::Repeats& Repeats() {
  static log_rules::Repeats repeats;
  return repeats;
}

}  // namespace

void LogFailure(const std::wstring& where, const std::wstring& what) noexcept {
  try {
    const std::lock_guard<std::mutex> hold(LogLock());
    for (const std::wstring& line : Repeats().Lines(where + L": " + what)) WriteStamped(line);
  } catch (...) {
    ::OutputDebugStringW(L"Kirasoe: a failure could not be logged");
  }
}

void FlushFailureLog() noexcept {
  try {
    const std::lock_guard<std::mutex> hold(LogLock());
    for (const std::wstring& line : Repeats().Flush()) WriteStamped(line);
  } catch (...) {
    ::OutputDebugStringW(L"Kirasoe: a failure could not be logged");
  }
}

void LogCurrentException(const wchar_t* where) noexcept { LogFailure(where, CurrentExceptionText()); }

}  // namespace win

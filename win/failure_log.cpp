#include "win/failure_log.h"

#include <windows.h>

#include <cwchar>
#include <exception>
#include <system_error>

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

void LogFailure(const std::wstring& where, const std::wstring& what) noexcept {
  try {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    const std::string line = Utf8(stamp + where + L": " + what + L"\r\n");
    HANDLE log = ::CreateFileW(FailureLogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool kept = log != INVALID_HANDLE_VALUE &&
                      ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    if (log != INVALID_HANDLE_VALUE) ::CloseHandle(log);
    // Where the log cannot be written either, a debugger still sees it.
    if (!kept) ::OutputDebugStringW((where + L": " + what).c_str());
  } catch (...) {
    ::OutputDebugStringW(L"Kirasoe: a failure could not be logged");
  }
}

void LogCurrentException(const wchar_t* where) noexcept { LogFailure(where, CurrentExceptionText()); }

}  // namespace win

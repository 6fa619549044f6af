#include "win/console_output.h"

#include <windows.h>

namespace win {

namespace {

void Print(DWORD which, const std::wstring& text) {
  HANDLE handle = ::GetStdHandle(which);
  if (text.empty() || !handle || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(handle, &mode)) {
    ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  // Redirected from a console: in the code page cmd and PowerShell read it
  // with; without a console (kirasoe.exe), UTF-8.
  const UINT page = ::GetConsoleOutputCP() ? ::GetConsoleOutputCP() : CP_UTF8;
  const int size = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(page, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string encoded(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  ::WideCharToMultiByte(page, 0, text.data(), size, encoded.data(), bytes, nullptr, nullptr);
  ::WriteFile(handle, encoded.data(), static_cast<DWORD>(encoded.size()), &written, nullptr);
}

}  // namespace

void PrintOut(const std::wstring& text) { Print(STD_OUTPUT_HANDLE, text); }
void PrintError(const std::wstring& text) { Print(STD_ERROR_HANDLE, text); }

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

}  // namespace win

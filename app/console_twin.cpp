// kirasoe.com, the console twin of kirasoe.exe. For "kirasoe /capture" cmd
// and PowerShell find it first (.COM comes before .EXE in PATHEXT), and as a
// console program the prompt waits for it, as scripts expect. It starts
// kirasoe.exe beside it with the same switches, passes on what that prints
// (UTF-8) in the console's own text, and ends with its exit code. kirasoe.exe
// itself stays a window program, so that a start from Explorer or a
// shortcut never opens a console.
#include <windows.h>

#include <string>
#include <thread>

#include "core/command_line.h"

namespace {

std::wstring Twin() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::size_t dot = path.find_last_of(L'.');
  const std::size_t slash = path.find_last_of(L"\\/");
  if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.resize(dot);
  return path + L".exe";
}

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

void Pass(const std::string& utf8, DWORD which) {
  if (utf8.empty()) return;
  const int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(count), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), count);
  HANDLE out = ::GetStdHandle(which);
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  // Redirected: in the code page cmd and PowerShell read it with.
  const UINT page = ::GetConsoleOutputCP() ? ::GetConsoleOutputCP() : CP_UTF8;
  const int bytes = ::WideCharToMultiByte(page, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  std::string encoded(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(page, 0, text.data(), count, encoded.data(), bytes, nullptr, nullptr);
  ::WriteFile(out, encoded.data(), static_cast<DWORD>(encoded.size()), &written, nullptr);
}

void Complain(const std::wstring& what) {
  Pass(std::string("kirasoe: "), STD_ERROR_HANDLE);
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, what.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, what.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  Pass(utf8 + "\n", STD_ERROR_HANDLE);
}

}  // namespace

int wmain() {
  const std::wstring exe = Twin();
  std::wstring line = L"\"" + exe + L"\" " + command_line::AfterProgramName(::GetCommandLineW());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!::CreatePipe(&outRead, &outWrite, &inherit, 0) || !::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    Complain(L"no pipe for the output of " + exe);
    return command_line::Failed;
  }
  ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    Complain(L"cannot start " + exe + L" (" + std::to_wstring(::GetLastError()) + L")");
    return command_line::Failed;
  }
  // Only the child holds the writing ends now: its end is their end.
  ::CloseHandle(outWrite);
  ::CloseHandle(errWrite);
  ::CloseHandle(process.hThread);
  std::string errors;
  std::thread errorReader([&] { errors = ReadAll(errRead); });
  const std::string output = ReadAll(outRead);
  errorReader.join();
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = command_line::Failed;
  ::GetExitCodeProcess(process.hProcess, &code);
  Pass(output, STD_OUTPUT_HANDLE);
  Pass(errors, STD_ERROR_HANDLE);
  return static_cast<int>(code);
}

#include "win/files.h"

#include <windows.h>

#include "core/paths.h"

namespace win {

std::wstring FoldFileName(const std::wstring& name) {
  if (name.empty()) return name;
  std::wstring folded(name.size(), L'\0');
  const int n = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()),
                                folded.data(), static_cast<int>(folded.size()), nullptr, nullptr, 0);
  if (n <= 0) return name;
  folded.resize(static_cast<std::size_t>(n));
  return folded;
}

std::wstring LongPath(const std::wstring& path) { return paths::LongForm(path); }

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW(LongPath(folder + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}

bool RemoveFile(const std::wstring& path) { return ::DeleteFileW(LongPath(path).c_str()) != 0; }

MoveResult MoveWithoutReplacing(const std::wstring& from, const std::wstring& to, unsigned long& error) {
  if (::MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(), MOVEFILE_WRITE_THROUGH)) return MoveResult::Moved;
  error = ::GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::Exists : MoveResult::Failed;
}

std::optional<std::wstring> UnusedTemporaryName(const std::wstring& folder) {
  const unsigned seed = ::GetCurrentProcessId() + ::GetTickCount();
  for (unsigned attempt = 0; attempt < paths::kTemporaryTries; ++attempt) {
    const std::wstring path = folder + paths::TemporaryName(L'q', seed, attempt);
    if (!Exists(path)) return path;
  }
  return std::nullopt;
}

std::wstring SystemMessage(unsigned long code) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

std::wstring TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder, n > MAX_PATH ? 0 : n);
}

void RemoveMatching(const std::wstring& folder, const std::wstring& pattern) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace win

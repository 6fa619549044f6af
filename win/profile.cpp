#include "win/profile.h"

#include <windows.h>

#include "core/settings.h"
#include "win/module.h"

namespace win {
namespace {

std::string ToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(const std::string& s) {
  if (s.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

}  // namespace

std::wstring SettingsFilePath() { return settings::IniFilePath(ExeFolder(), ExeBaseName()); }

// The file is opened by its wide path, so that a folder whose name the
// system code page cannot spell still works; the file itself stays an ANSI
// profile, as the system's profile functions keep a file without a byte-order
// mark.
std::wstring ReadProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key) {
  std::wstring buffer(512, L' ');
  ::GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buffer.data(), 511, path.c_str());
  buffer.resize(buffer.find(L'\0') == std::wstring::npos ? buffer.size() : buffer.find(L'\0'));
  // A stored value is at most 510 bytes of the code page, as it always was.
  std::string bytes = ToAnsi(buffer);
  if (bytes.size() > 510) {
    bytes.resize(510);
    buffer = FromAnsi(bytes);
  }
  return settings::CleanProfileValue(buffer);
}

bool WriteProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value) {
  return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value ? value->c_str() : nullptr, path.c_str());
}

bool ProfileFile::Write(const std::wstring& section, const std::wstring& key, const settings::Text& value) {
  if (WriteProfile(path_, section, key, value)) return true;
  writeError_ = ::GetLastError();
  return false;
}

}  // namespace win

// The settings file: a profile file in the system's ANSI code page, opened by
// its wide path.
#pragma once

#include <optional>
#include <string>

namespace win {

// kirasoe.ini beside the executable (named after it).
std::wstring SettingsFilePath();

// One key's value, cleaned (cut at a NUL, spaces stripped), at most 510
// bytes of the code page as ever; empty when missing.
std::wstring ReadProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key);
// nullopt removes the key.
void WriteProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value);

}  // namespace win

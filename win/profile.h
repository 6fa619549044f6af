// The settings file: a profile file in the system's ANSI code page, opened by
// its wide path.
#pragma once

#include <optional>
#include <string>

#include "core/settings_store.h"

namespace win {

// kirasoe.ini beside the executable (named after it).
std::wstring SettingsFilePath();

// One key's value, cleaned (cut at a NUL, spaces stripped), at most 510
// bytes of the code page as ever; empty when missing.
std::wstring ReadProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key);
// nullopt removes the key; false, with the system's error, when the key
// could not be written.
bool WriteProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value);

// The settings file beside the program, a key at a time.
class ProfileFile : public settings::File {
 public:
  ProfileFile() : path_(SettingsFilePath()) {}
  std::wstring Read(const std::wstring& section, const std::wstring& key) override {
    return ReadProfile(path_, section, key);
  }
  bool Write(const std::wstring& section, const std::wstring& key, const settings::Text& value) override;
  const std::wstring& Path() const { return path_; }
  // The system's code of the last write that failed.
  unsigned long WriteError() const { return writeError_; }

 private:
  std::wstring path_;
  unsigned long writeError_ = 0;
};

}  // namespace win

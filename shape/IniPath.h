// Where the settings file lives and how a read value is cleaned. Pure C++.
#pragma once

#include <string>
#include <string_view>

namespace inipath {

// The application's folder, "\", the executable's base name and ".ini";
// no second "\" when the folder already ends in one (a drive root).
std::wstring IniFilePath(std::wstring_view appPath, std::wstring_view exeName);

// A profile read: cut before the first NUL, then strip U+0020 at both ends.
std::wstring CleanProfileValue(std::wstring_view raw);

}  // namespace inipath

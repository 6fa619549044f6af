#include "shape/IniPath.h"

namespace inipath {

std::wstring IniFilePath(std::wstring_view appPath, std::wstring_view exeName) {
  std::wstring path(appPath);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  path += exeName;
  path += L".ini";
  return path;
}

std::wstring CleanProfileValue(std::wstring_view raw) {
  auto nul = raw.find(L'\0');
  if (nul != std::wstring_view::npos) raw = raw.substr(0, nul);
  auto first = raw.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  auto last = raw.find_last_not_of(L' ');
  return std::wstring(raw.substr(first, last - first + 1));
}

}  // namespace inipath

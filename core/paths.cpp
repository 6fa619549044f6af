#include "core/paths.h"

#include <cwchar>

namespace paths {

std::wstring LongForm(std::wstring_view path) {
  // 248: the longest folder path the system creates without the long form.
  constexpr std::size_t kShort = 248;
  if (path.size() < kShort || path.starts_with(L"\\\\?\\")) return std::wstring(path);
  if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + std::wstring(path);
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
  return std::wstring(path);
}

std::wstring TemporaryName(wchar_t kind, unsigned seed, unsigned attempt) {
  wchar_t name[16];
  std::swprintf(name, 16, L"~k%lc%04x.tmp", static_cast<wint_t>(kind), (seed + attempt * 7919u) & 0xffffu);
  return name;
}

}  // namespace paths

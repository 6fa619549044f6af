#include "win/module.h"

#include <vector>

namespace win {
namespace {

std::wstring ModulePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

std::wstring ExePath() { return ModulePath(); }

std::wstring ExeFolder() {
  const std::wstring p = ModulePath();
  const auto slash = p.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  std::wstring dir = p.substr(0, slash);
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';  // drive root keeps its "\"
  return dir;
}

std::wstring ExeBaseName() {
  const std::wstring p = ModulePath();
  const auto slash = p.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? p : p.substr(slash + 1);
  const auto dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace win

// The file system's case folding stands in here as ASCII upper case: the
// program takes the real one from the system.
#pragma once

#include <string>

inline std::wstring AsciiFold(const std::wstring& s) {
  std::wstring out = s;
  for (auto& c : out)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return out;
}

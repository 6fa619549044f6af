#include "core/series.h"

#include <algorithm>
#include <cwchar>
#include <string_view>


namespace series {

long long SeriesNumber(const std::wstring& file, const std::wstring& name, const std::wstring& extension,
                       const save_names::FoldCase& fold) {
  const std::wstring f = fold(file), prefix = fold(name + L"_"), ext = fold(extension);
  if (f.size() <= prefix.size() + ext.size() || f.compare(0, prefix.size(), prefix) != 0 ||
      f.compare(f.size() - ext.size(), ext.size(), ext) != 0)
    return -1;
  const std::wstring digits = f.substr(prefix.size(), f.size() - prefix.size() - ext.size());
  if (digits.empty() || digits.size() > 15 ||
      !std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    return -1;
  return std::stoll(digits);
}

long long NextNumber(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                     const save_names::FoldCase& fold) {
  long long highest = 0;
  for (const auto& f : files) highest = std::max(highest, SeriesNumber(f, name, extension, fold));
  return highest + 1;
}

std::wstring SeriesFileName(const std::wstring& name, long long number, const std::wstring& extension) {
  wchar_t digits[32];
  std::swprintf(digits, 32, L"%03lld", number);
  return name + L"_" + digits + extension;
}

namespace {

bool IsDevice(std::wstring stem) {
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  for (auto& c : stem)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" ||
      stem == L"CONOUT$")
    return true;
  return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
         stem[3] >= L'1' && stem[3] <= L'9';
}

}  // namespace

bool UsableBaseName(const std::wstring& name) {
  if (name.empty()) return false;
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  return !IsDevice(name.substr(0, name.find(L'.')));
}

ClaimResult ClaimNext(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                      const save_names::FoldCase& fold, const std::function<Claim(const std::wstring&)>& claim,
                      int attempts) {
  ClaimResult result;
  long long n = NextNumber(files, name, extension, fold);
  for (int i = 0; i < attempts; ++i, ++n) {
    result.file = SeriesFileName(name, n, extension);
    result.outcome = claim(result.file);
    if (result.outcome != Claim::Taken) return result;
  }
  return result;
}

}  // namespace series

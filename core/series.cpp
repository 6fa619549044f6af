#include "core/series.h"

#include <algorithm>
#include <cwchar>


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

std::wstring ClaimNext(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                       const save_names::FoldCase& fold, const std::function<bool(const std::wstring&)>& reserve,
                       int attempts) {
  long long n = NextNumber(files, name, extension, fold);
  for (int i = 0; i < attempts; ++i, ++n) {
    const std::wstring file = SeriesFileName(name, n, extension);
    if (reserve(file)) return file;
  }
  return {};
}

}  // namespace series

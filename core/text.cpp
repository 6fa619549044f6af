#include "core/text.h"

namespace text {

std::wstring_view Trim(std::wstring_view s, std::wstring_view spaces) {
  const auto first = s.find_first_not_of(spaces);
  if (first == std::wstring_view::npos) return {};
  return s.substr(first, s.find_last_not_of(spaces) - first + 1);
}

int DigitValue(wchar_t c, int base) {
  const int d = c >= L'0' && c <= L'9'   ? c - L'0'
                : c >= L'A' && c <= L'F' ? c - L'A' + 10
                : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                         : 99;
  return d < base ? d : -1;
}

std::optional<std::uint64_t> ParseDigits(std::wstring_view digits, int base, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : digits) {
    const int d = DigitValue(c, base);
    if (d < 0) return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
  }
  return value;
}

}  // namespace text

// Small text rules shared by the settings file, the dialogs and the names:
// trimming, hexadecimal digits and whole numbers written as plain digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace text {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// `s` without the characters of `spaces` at either end.
std::wstring_view Trim(std::wstring_view s, std::wstring_view spaces = L" ");

// The value of one digit in `base` (up to 16, letters in either case); -1
// for a character that is no such digit.
int DigitValue(wchar_t c, int base);

// Digits only, at most `maxDigits` of them, in `base`; nullopt for anything
// else (no sign, no spaces, nothing empty).
std::optional<std::uint64_t> ParseDigits(std::wstring_view digits, int base, std::size_t maxDigits);

}  // namespace text

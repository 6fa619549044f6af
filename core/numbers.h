// Number rules shared by the settings, the geometry and the conversions:
// parsing stored text, rounding half to even, single precision, number text.
// Pure C++: no Windows headers, so that every rule is tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace num {

// Leading number of a text: optional sign, digits, optional "." and digits,
// optional exponent (E or e, optional sign, digits). Spaces, tabs and line
// breaks are ignored wherever they stand. 0 when the text does not begin with
// a number. nullopt when the number is too large for a double.
std::optional<double> ParseLeadingNumber(std::wstring_view text);
std::optional<double> ParseLeadingNumber(std::string_view text);

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double v);

// A settings value that must be a whole number from `lo` to `hi`: the
// number `text` holds, or `fallback` when it holds none, a fraction or one
// out of range.
std::int32_t WholeInRange(std::wstring_view text, std::int32_t lo, std::int32_t hi, std::int32_t fallback);

// Nearest 32-bit integer, ties to even; nullopt outside the 32-bit range.
std::optional<std::int32_t> ToInt32(double v);

// Like ToInt32, for values that cannot leave the range (screen coordinates):
// saturates instead of failing.
std::int32_t ToInt32Saturated(double v);

// Nearest single-precision value; nullopt when it overflows.
std::optional<float> ToSingle(double v);

// Integer division of two numbers: both are first rounded to whole numbers
// (ties to even), then the quotient is truncated toward zero.
// A divisor that rounds to 0 gives 0.
std::int32_t IntDiv(double a, double b);

// "480", "-15": plain decimal digits.
std::string IntToText(std::int64_t v);

// Whole values without a decimal point ("9390", "-15"); fractional values in
// the shortest form that reads back to the same single.
std::string SingleToText(float v);

}  // namespace num

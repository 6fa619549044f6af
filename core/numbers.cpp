#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace num {
namespace {

bool IsBlank(char32_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

template <class Char>
std::optional<double> ParseImpl(std::basic_string_view<Char> text) {
  // Gather the characters of the leading number with blanks removed, then let
  // the standard parser do the exact decimal-to-binary conversion.
  std::string digits;
  std::size_t i = 0;
  auto skip = [&] { while (i < text.size() && IsBlank(static_cast<char32_t>(text[i]))) ++i; };
  auto at = [&](char c) { return i < text.size() && static_cast<char32_t>(text[i]) == static_cast<char32_t>(c); };
  auto digit = [&] {
    return i < text.size() && text[i] >= Char('0') && text[i] <= Char('9');
  };
  skip();
  if (at('+') || at('-')) {
    if (at('-')) digits += '-';
    ++i;
    skip();
  }
  bool any = false;
  while (true) {
    skip();
    if (!digit()) break;
    digits += static_cast<char>(text[i++]);
    any = true;
  }
  skip();
  if (at('.')) {
    ++i;
    std::string frac;
    while (true) {
      skip();
      if (!digit()) break;
      frac += static_cast<char>(text[i++]);
    }
    if (!frac.empty()) {
      digits += '.';
      digits += frac;
      any = true;
    }
  }
  if (!any) return 0.0;
  skip();
  if (at('e') || at('E')) {
    std::size_t save = i;
    std::string exp = "e";
    ++i;
    skip();
    if (at('+') || at('-')) {
      if (at('-')) exp += '-';
      ++i;
    }
    bool expDigits = false;
    while (true) {
      skip();
      if (!digit()) break;
      exp += static_cast<char>(text[i++]);
      expDigits = true;
    }
    if (expDigits) digits += exp; else i = save;
  }
  double value = 0;
  const char* first = digits.data();
  const char* last = first + digits.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as 0; overflow does not fit anything we store.
    bool negExp = digits.find("e-") != std::string::npos;
    if (negExp) return 0.0;
    return std::nullopt;
  }
  if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ParseLeadingNumber(std::wstring_view text) { return ParseImpl(text); }
std::optional<double> ParseLeadingNumber(std::string_view text) { return ParseImpl(text); }

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  double r = std::round(v);  // ties away from zero
  if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
  return r;
}

std::optional<std::int32_t> ToInt32(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  double r = RoundHalfEven(v);
  if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::int32_t ToInt32Saturated(double v) {
  if (std::isnan(v)) return 0;
  if (auto r = ToInt32(v)) return *r;
  return v < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

std::optional<float> ToSingle(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  float f = static_cast<float>(v);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

std::int32_t IntDiv(double a, double b) {
  double ra = RoundHalfEven(a);
  double rb = RoundHalfEven(b);
  if (rb == 0 || !std::isfinite(ra) || !std::isfinite(rb)) return 0;
  return ToInt32Saturated(std::trunc(ra / rb));
}

std::string IntToText(std::int64_t v) { return std::to_string(v); }

std::string SingleToText(float v) {
  if (v == 0 || std::isnan(v)) return "0";
  char buf[64];
  std::to_chars_result res;
  if (std::trunc(v) == v)
    res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  else
    res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

}  // namespace num

#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace num {
namespace {

bool IsBlank(char32_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Reads the characters of a leading number, blanks left out wherever they
// stand, into the plain form the standard parser takes.
template <class Char>
class NumberScanner {
 public:
  explicit NumberScanner(std::basic_string_view<Char> text) : text_(text) {}

  // "-123.45e-6" or "" when the text does not begin with a number.
  std::string Scan() {
    Skip();
    if (At('+') || At('-')) {
      if (At('-')) out_ += '-';
      ++i_;
    }
    const bool whole = Digits(out_);
    const bool fraction = Fraction();
    if (!whole && !fraction) return {};
    Exponent();
    return out_;
  }

 private:
  void Skip() {
    while (i_ < text_.size() && IsBlank(static_cast<char32_t>(text_[i_]))) ++i_;
  }
  bool At(char c) { return i_ < text_.size() && static_cast<char32_t>(text_[i_]) == static_cast<char32_t>(c); }
  bool Digit() { return i_ < text_.size() && text_[i_] >= Char('0') && text_[i_] <= Char('9'); }
  // Digits, blanks between them allowed; true when there was one.
  bool Digits(std::string& into) {
    bool any = false;
    for (Skip(); Digit(); Skip()) {
      into += static_cast<char>(text_[i_++]);
      any = true;
    }
    return any;
  }
  bool Fraction() {
    if (!At('.')) return false;
    ++i_;
    std::string digits;
    if (!Digits(digits)) return false;
    out_ += '.' + digits;
    return true;
  }
  // An exponent counts only with digits; otherwise the text ends before it.
  void Exponent() {
    if (!At('e') && !At('E')) return;
    const std::size_t save = i_;
    std::string exp = "e";
    ++i_;
    Skip();
    if (At('+') || At('-')) {
      if (At('-')) exp += '-';
      ++i_;
    }
    if (Digits(exp)) out_ += exp;
    else i_ = save;
  }

  std::basic_string_view<Char> text_;
  std::size_t i_ = 0;
  std::string out_;
};

template <class Char>
std::optional<double> ParseImpl(std::basic_string_view<Char> text) {
  const std::string digits = NumberScanner<Char>(text).Scan();
  if (digits.empty()) return 0.0;
  double value = 0;
  const char* first = digits.data();
  const char* last = first + digits.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as 0; overflow does not fit anything we store.
    if (digits.find("e-") != std::string::npos) return 0.0;
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

std::int32_t WholeInRange(std::wstring_view text, std::int32_t lo, std::int32_t hi, std::int32_t fallback) {
  const auto value = ParseLeadingNumber(text);
  if (text.empty() || !value || *value != static_cast<double>(static_cast<std::int64_t>(*value))) return fallback;
  return *value < lo || *value > hi ? fallback : static_cast<std::int32_t>(*value);
}

}  // namespace num

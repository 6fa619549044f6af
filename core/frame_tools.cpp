#include "core/frame_tools.h"

#include "core/frame_model.h"
#include "core/text.h"

namespace frame_tools {

std::optional<std::int32_t> ParseWhole(std::wstring_view text, std::int32_t lo, std::int32_t hi) {
  text = text::Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  const auto digits = text::ParseDigits(text, 10, 10);
  if (!digits) return std::nullopt;
  const auto value = negative ? -static_cast<std::int64_t>(*digits) : static_cast<std::int64_t>(*digits);
  if (value < lo || value > hi) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<StoredRect> ParseStoredRect(std::wstring_view value, std::int32_t lowestCorner, std::int32_t smallestSide) {
  std::int32_t numbers[4];
  std::size_t at = 0;
  for (int k = 0; k < 4; ++k) {
    const std::size_t comma = value.find(L',', at);
    if (comma == std::wstring_view::npos) return std::nullopt;
    auto n = ParseWhole(value.substr(at, comma - at), k >= 2 ? smallestSide : lowestCorner, kMaxSide);
    if (!n) return std::nullopt;
    numbers[k] = *n;
    at = comma + 1;
  }
  return StoredRect{geometry::RectAt(numbers[0], numbers[1], numbers[2], numbers[3]), value.substr(at)};
}

namespace {

Refusal OutOfRange(Field field, std::int32_t lo, std::int32_t hi, texts::Language language) {
  return {field, texts::Format(texts::Id::NumberOutOfRange, language,
                               {texts::Get(kFieldNames[field], language), std::to_wstring(lo), std::to_wstring(hi)})};
}

}  // namespace

std::variant<Rect, Refusal> CheckTyped(const std::array<std::wstring, 4>& typed, const std::vector<Rect>& monitors,
                                       texts::Language language) {
  std::array<std::int32_t, 4> values{};
  for (int field = kX; field <= kHeight; ++field) {
    const bool side = field == kWidth || field == kHeight;
    const std::int32_t lo = side ? frame::kMinFramePixels : -kMaxSide - 1;
    auto value = ParseWhole(typed[field], lo, kMaxSide);
    if (!value) return OutOfRange(static_cast<Field>(field), lo, kMaxSide, language);
    values[field] = *value;
  }
  const Rect r = geometry::RectAt(values[kX], values[kY], values[kWidth], values[kHeight]);
  for (const Rect& m : monitors)
    if (geometry::Intersects(r, m)) return r;
  return Refusal{kX, texts::Get(texts::Id::FrameOffScreen, language)};
}

Rect WithSize(const Rect& frame, Size size) { return geometry::RectAt(frame.left, frame.top, size.width, size.height); }

std::wstring PresetText(Size size) { return frame::SizeText(size.width, size.height); }

namespace {

// One side grown to the minimum around its centre (the extra pixel, if any,
// after it).
void GrowSide(std::int32_t& low, std::int32_t& high) {
  const std::int32_t missing = frame::kMinFramePixels - (high - low);
  if (missing <= 0) return;
  low -= missing / 2;
  high = low + frame::kMinFramePixels;
}

}  // namespace

Rect FitPicked(const Rect& picked) {
  Rect r = picked;
  GrowSide(r.left, r.right);
  GrowSide(r.top, r.bottom);
  return r;
}

std::int32_t SecondsLeft(std::int64_t millisecondsLeft) {
  if (millisecondsLeft <= 0) return 0;
  return static_cast<std::int32_t>((millisecondsLeft + 999) / 1000);
}

}  // namespace frame_tools

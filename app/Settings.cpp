#include "app/Settings.h"

#include "toolkit/Numbers.h"
#include "toolkit/Twips.h"

namespace settings {
namespace {

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The number a key holds, or nullopt when it does not fit a 32-bit integer
// (a hand-edited file); callers then treat the key as missing.
std::optional<double> FittingNumber(const std::wstring& text) {
  auto v = num::ParseLeadingNumber(text);
  if (!v || !num::ToInt32(*v)) return std::nullopt;
  return v;
}

// The nearest single, kept inside the 32-bit range: 2147483647 as a single
// is 2147483648, which the next start would no longer read.
float FittingSingle(double v) {
  constexpr float kMax = 2147483520.0f;  // the largest single below 2^31
  const float f = num::ToSingle(v).value_or(0.0f);
  return f > kMax ? kMax : f;
}

float SingleOr0(const std::wstring& text) {
  auto v = FittingNumber(text);
  return v ? FittingSingle(*v) : 0.0f;
}

std::int32_t IntOr0(const std::wstring& text) {
  auto v = FittingNumber(text);
  return v ? *num::ToInt32(*v) : 0;
}

}  // namespace

std::optional<State> ReadStored(const Reader& read) {
  if (read(L"X").empty()) return std::nullopt;
  State s;
  auto x = FittingNumber(read(L"X"));
  if (!x) return std::nullopt;
  s.left = FittingSingle(*x);
  s.top = SingleOr0(read(L"Y"));
  s.lfName = read(L"LFName");
  s.lfPath = read(L"LFPath");
  s.lfType = SingleOr0(read(L"LFType"));
  s.lineC = IntOr0(read(L"LineC"));
  s.snap.x = IntOr0(read(L"SnapX"));
  s.snap.y = IntOr0(read(L"SnapY"));
  s.snap.w = IntOr0(read(L"SnapW"));
  s.snap.h = IntOr0(read(L"SnapH"));
  auto preview = num::ParseLeadingNumber(read(L"Preview"));
  s.preview = preview && *preview != 0;
  return s;
}

Position ReadPreviewPosition(const Reader& read) {
  if (read(L"X").empty()) return {};
  return {SingleOr0(read(L"X2")), SingleOr0(read(L"Y2"))};
}

Position FirstStartPosition(double screenWidth, double formWidth, double usableHeight, double formHeight) {
  return {static_cast<float>((screenWidth - formWidth) / 2), static_cast<float>((usableHeight - formHeight) / 2)};
}

State FirstStartState(float actualLeft, float actualTop, double twipsPerPixelX, double twipsPerPixelY) {
  State s;
  s.left = actualLeft;
  s.top = actualTop;
  s.lineC = 1;
  s.snap.x = num::ToInt32Saturated(static_cast<double>(actualLeft) + twips::FromPixels(32, twipsPerPixelX));
  s.snap.y = num::ToInt32Saturated(actualTop);
  s.snap.w = twips::FromPixels(32, twipsPerPixelX);
  s.snap.h = twips::FromPixels(32, twipsPerPixelY);
  return s;
}

std::vector<std::pair<std::wstring, Text>> ExitWrites(const State& s) {
  auto i = [](std::int64_t v) { return Text(Widen(num::IntToText(v))); };
  auto f = [](float v) { return Text(Widen(num::SingleToText(v))); };
  return {
      {L"X", f(s.left)},
      {L"Y", f(s.top)},
      {L"SnapX", i(s.snap.x)},
      {L"SnapY", i(s.snap.y)},
      {L"SnapW", i(s.snap.w)},
      {L"SnapH", i(s.snap.h)},
      {L"LFName", s.lfName},
      {L"LFPath", s.lfPath},
      {L"LFType", f(s.lfType)},
      {L"LineC", i(s.lineC)},
      {L"Preview", Text(s.preview ? L"1" : L"0")},
  };
}

}  // namespace settings

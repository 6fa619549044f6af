#include "core/settings.h"
#include "core/placement.h"
#include "core/text.h"

#include "core/numbers.h"

#include <cmath>

namespace settings {
namespace {

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
Text IntText(std::int64_t v) { return Widen(num::IntToText(v)); }
Text SingleText(float v) { return Widen(num::SingleToText(v)); }

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
  s.camera = {FittingSingle(*x), SingleOr0(read(L"Y"))};
  s.lastName = read(L"LFName");
  s.lastFolder = read(L"LFPath");
  s.lastType = SingleOr0(read(L"LFType"));
  s.lineColour = IntOr0(read(L"LineC"));
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

Position FirstStartPosition(double screenWidth, double cameraWidth, double usableHeight, double cameraHeight) {
  return {static_cast<float>((screenWidth - cameraWidth) / 2), static_cast<float>((usableHeight - cameraHeight) / 2)};
}

PixelPoint FirstStartCamera(std::int32_t screenWidth, std::int32_t cameraWidth, std::int32_t usableHeight,
                            std::int32_t cameraHeight, twips::Scale scale) {
  using twips::FromPixels;
  const Position p = FirstStartPosition(FromPixels(screenWidth, scale.x), FromPixels(cameraWidth, scale.x),
                                        FromPixels(usableHeight, scale.y), FromPixels(cameraHeight, scale.y));
  return {twips::ToPixels(p.left, scale.x), twips::ToPixels(p.top, scale.y)};
}

State FirstStartState(float actualLeft, float actualTop, double twipsPerPixelX, double twipsPerPixelY) {
  State s;
  s.camera = {actualLeft, actualTop};
  s.lineColour = 1;
  s.snap.x = num::ToInt32Saturated(static_cast<double>(actualLeft) + twips::FromPixels(placement::kFrameRightOfCamera, twipsPerPixelX));
  s.snap.y = num::ToInt32Saturated(actualTop);
  s.snap.w = twips::FromPixels(32, twipsPerPixelX);
  s.snap.h = twips::FromPixels(32, twipsPerPixelY);
  return s;
}

namespace {

// A stored coordinate that still names pixel `pixel`; whole twips, as
// positions are written, or the twips of that pixel.
float Kept(float read, std::int32_t pixel, double twipsPerPixel) {
  const bool whole = read == std::trunc(read);
  return whole && twips::ToPixels(read, twipsPerPixel) == pixel
             ? read
             : static_cast<float>(twips::FromPixels(pixel, twipsPerPixel));
}

}  // namespace

Position KeptPosition(const Position& read, std::int32_t x, std::int32_t y, twips::Scale scale) {
  return {Kept(read.left, x, scale.x), Kept(read.top, y, scale.y)};
}

int TypeIndex(float lastType) { return num::ToInt32Saturated(lastType); }

std::vector<std::pair<std::wstring, Text>> ExitWrites(const State& s) {
  return {
      {L"X", SingleText(s.camera.left)},
      {L"Y", SingleText(s.camera.top)},
      {L"SnapX", IntText(s.snap.x)},
      {L"SnapY", IntText(s.snap.y)},
      {L"SnapW", IntText(s.snap.w)},
      {L"SnapH", IntText(s.snap.h)},
      {L"LFName", s.lastName},
      {L"LFPath", s.lastFolder},
      {L"LFType", SingleText(s.lastType)},
      {L"LineC", IntText(s.lineColour)},
      {L"Preview", Text(s.preview ? L"1" : L"0")},
  };
}

std::vector<std::pair<std::wstring, Text>> PreviewWrites(const Position& p) {
  return {{L"X2", SingleText(p.left)}, {L"Y2", SingleText(p.top)}};
}

std::wstring IniFilePath(std::wstring_view appPath, std::wstring_view exeName) {
  std::wstring path(appPath);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  path += exeName;
  path += L".ini";
  return path;
}

std::wstring CleanProfileValue(std::wstring_view raw) {
  auto nul = raw.find(L'\0');
  if (nul != std::wstring_view::npos) raw = raw.substr(0, nul);
  return std::wstring(text::Trim(raw));
}

}  // namespace settings

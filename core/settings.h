// The settings file's rules: where it lives, what section "Data" holds, how
// a stored value is read, the first-start defaults, and what is written back
// at exit, in order. Twips live here and in the capture area only. Pure C++;
// the program supplies the file access.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/twips.h"

namespace settings {

// A text setting that may never have been assigned during the run. A never
// assigned text removes its key at exit; the empty text writes an empty value.
using Text = std::optional<std::wstring>;

inline constexpr const wchar_t* kSection = L"Data";

// A rectangle as the file keeps it: left, top, width and height in twips.
struct TwipsRect {
  std::int32_t x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// A window position as the file keeps it ("X"/"Y", "X2"/"Y2"): twips,
// written as single-precision numbers.
struct Position {
  float left = 0, top = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

struct State {
  Position camera;
  TwipsRect snap;  // the capture rectangle
  std::int32_t lineColour = 0;  // 0 black, 1 grey, 2 white
  Text lastName, lastFolder;     // the last saved file's base name and folder
  float lastType = 0;      // its 0-based file type, kept as the file holds it (a single)
  bool preview = false;
};

// Reads one key of section "Data" (already trimmed; empty when missing).
using Reader = std::function<std::wstring(const std::wstring& key)>;

// Stored settings, read in start-up order. nullopt when no settings exist:
// key "X" is empty, or holds a number that fits no position (then the whole
// start falls back to the first-start defaults, as if "X" were missing).
// Any other number that does not fit a 32-bit integer reads as a missing key.
std::optional<State> ReadStored(const Reader& read);

// The preview window's position ("X2", "Y2"), by the same reading rules as
// every other key; (0, 0) when no settings are stored (key "X" empty).
Position ReadPreviewPosition(const Reader& read);

// First start: centred on the screen width and on the usable height (twips).
Position FirstStartPosition(double screenWidth, double cameraWidth, double usableHeight, double cameraHeight);

// The same from pixel sizes: where the camera goes on a first start, in pixels.
struct PixelPoint {
  std::int32_t x = 0, y = 0;
};
PixelPoint FirstStartCamera(std::int32_t screenWidth, std::int32_t cameraWidth, std::int32_t usableHeight,
                            std::int32_t cameraHeight, twips::Scale scale);

// First start: a 32 x 32 pixel rectangle 32 pixels right of the main window's
// actual left edge, level with its top. LineC 1; names never assigned.
State FirstStartState(float actualLeft, float actualTop, double twipsPerPixelX, double twipsPerPixelY);

// A window position to store: the one read when the window still stands on
// the pixel it named (each coordinate in whole twips), otherwise the twips
// of where it stands now.
Position KeptPosition(const Position& read, std::int32_t x, std::int32_t y, twips::Scale scale);

// The file type index a stored "LFType" names (nearest whole number).
int TypeIndex(float lastType);

// The exit writes of section "Data", in order. A nullopt value removes the key.
std::vector<std::pair<std::wstring, Text>> ExitWrites(const State& s);
// The preview window's keys, written after the others when it was shown.
std::vector<std::pair<std::wstring, Text>> PreviewWrites(const Position& p);

// The application's folder, "\", the executable's base name and ".ini";
// no second "\" when the folder already ends in one (a drive root).
std::wstring IniFilePath(std::wstring_view appPath, std::wstring_view exeName);

// A profile read: cut before the first NUL, then strip U+0020 at both ends.
std::wstring CleanProfileValue(std::wstring_view raw);

}  // namespace settings

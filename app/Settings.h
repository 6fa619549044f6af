// The program-wide settings: what is read from section "Data" at start, the
// first-start defaults, and what is written back at exit, in order.
// Pure C++; Form1 supplies the profile access and applies the results.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace settings {

// A text setting that may never have been assigned during the run. A never
// assigned text removes its key at exit; the empty text writes an empty value.
using Text = std::optional<std::wstring>;

inline constexpr const wchar_t* kSection = L"Data";

struct Rect {
  std::int32_t x = 0, y = 0, w = 0, h = 0;  // twips
};

// The state Form1 owns for the life of the process.
struct State {
  float left = 0, top = 0;  // Form1 position, twips
  Rect snap;                // capture rectangle, twips
  std::int32_t lineC = 0;
  Text lfName, lfPath;
  float lfType = 0;
  bool preview = false;
};

// Reads one key of section "Data" (already trimmed; empty when missing).
using Reader = std::function<std::wstring(const std::wstring& key)>;

// Stored settings, read in start-up order. nullopt when no settings exist:
// key "X" is empty, or holds a number that fits no position (then the whole
// start falls back to the first-start defaults, as if "X" were missing).
// Any other number that does not fit a 32-bit integer reads as a missing key.
std::optional<State> ReadStored(const Reader& read);

struct Position {
  float left = 0, top = 0;
};

// First start: centred on the screen width and on the usable height (twips).
Position FirstStartPosition(double screenWidth, double formWidth, double usableHeight, double formHeight);

// First start: a 32 x 32 pixel rectangle 32 pixels right of the main window's
// actual left edge, level with its top. LineC 1; names never assigned.
State FirstStartState(float actualLeft, float actualTop, double twipsPerPixelX, double twipsPerPixelY);

// The preview window's position ("X2", "Y2"), by the same reading rules as
// every other key; (0, 0) when no settings are stored (key "X" empty).
Position ReadPreviewPosition(const Reader& read);

// The exit writes of section "Data", in order. A nullopt value removes the key.
std::vector<std::pair<std::wstring, Text>> ExitWrites(const State& s);

}  // namespace settings

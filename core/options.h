// The capture options and how the settings file keeps them: a section of
// their own ("Options"), so that a version that does not know them ignores
// them and a file without them starts with the defaults. Key combinations
// are written by name ("Ctrl+Shift+PrintScreen", "none"). Pure C++.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/texts.h"

namespace options {

inline constexpr const wchar_t* kSection = L"Options";

// Modifier bits, as the system's hotkeys take them.
inline constexpr unsigned kAlt = 1, kControl = 2, kShift = 4, kWin = 8;
inline constexpr unsigned kPrintScreen = 0x2C;

// A key with its modifiers; key 0 is no combination at all.
struct KeyCombo {
  unsigned modifiers = 0;
  unsigned key = 0;
  bool None() const { return key == 0; }
  friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

// The program's hotkeys, in the order the dialog shows them.
enum HotKeyIndex : std::size_t { kCaptureKey, kQuickKey, kSelectCaptureKey, kSelectKey, kHotKeyCount };

struct Options {
  bool pointer = false;  // the mouse pointer drawn into every capture
  std::array<KeyCombo, kHotKeyCount> keys{{{kShift, kPrintScreen},
                                           {kControl | kShift, kPrintScreen},
                                           {kControl, kPrintScreen},
                                           {}}};
  texts::Choice language = texts::Choice::Auto;  // "Language": auto, ja or en
  bool editAfterCapture = false;  // a capture opens the editor before the save dialog
  friend bool operator==(const Options&, const Options&) = default;
};

// "Ctrl+Alt+Shift+Win+Key" with the modifiers present, or "none".
std::wstring KeyName(const KeyCombo& combo);
// The name back (letters in any case, spaces around the parts allowed);
// nullopt for a name no combination has.
std::optional<KeyCombo> ParseKeyName(std::wstring_view name);

using Reader = std::function<std::wstring(const std::wstring& key)>;
// Missing or unreadable values read as the defaults.
Options Read(const Reader& read);
std::vector<std::pair<std::wstring, std::wstring>> Writes(const Options& options);

}  // namespace options

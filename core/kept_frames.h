// Frames kept by name, and how the settings file keeps them: a section of
// their own ("Frames"), one key a frame ("Frame1" ... "Frame20") holding
// "left,top,width,height,name" in screen pixels, so that a version that does
// not know them ignores them. Names are written in ASCII (other characters as
// %-escaped UTF-8), so that every name comes back exactly whatever the
// system's code page. Pure C++.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "core/masks.h"

namespace kept_frames {

inline constexpr const wchar_t* kSection = L"Frames";
inline constexpr std::size_t kMaxFrames = 20;
inline constexpr std::size_t kMaxNameLength = 64;

struct KeptFrame {
  std::wstring name;
  geometry::Rect pixels;
  masks::List masks;  // what every picture of it hides
  friend bool operator==(const KeptFrame&, const KeptFrame&) = default;
};
using List = std::vector<KeptFrame>;

// The name as typed, without spaces at its ends; nullopt when nothing is
// left, when it is longer than kMaxNameLength or holds a control character.
std::optional<std::wstring> UsableName(std::wstring_view typed);

// Where `name` is kept; -1 when it is not.
int IndexOf(const List& frames, std::wstring_view name);

// Keeps `frame`: a kept name gets the new rectangle in its place, a new one
// goes last. False (nothing changed) when a new name finds the list full.
bool Keep(List& frames, const KeptFrame& frame);

// The name as a menu shows it ("&" would underline the next character).
std::wstring MenuText(std::wstring_view name);

// The name in the file's form, and back; Decode gives nullopt for a text
// that no name encodes to.
std::string EncodeName(std::wstring_view name);
std::optional<std::wstring> DecodeName(std::string_view encoded);

// Reads one key of the section (empty when missing).
using Reader = std::function<std::wstring(const std::wstring& key)>;
// The frames kept in the file, in key order; keys that do not read as a
// frame are left out.
List Read(const Reader& read);
// What the section is written as: every key, a frame's value or nullopt
// (the key removed) where none is left.
std::vector<std::pair<std::wstring, std::optional<std::wstring>>> Writes(const List& frames);

// The kept frames' masks: a section of their own ("FrameMasks", keys
// "Frame1"...), each value the masks' list, a space and the frame's name in
// the file's form, so that a masks' key finds its frame by name whatever
// becomes of the order of "Frames".
inline constexpr const wchar_t* kMasksSection = L"FrameMasks";
void ReadMasks(List& frames, const Reader& read);
std::vector<std::pair<std::wstring, std::optional<std::wstring>>> MasksWrites(const List& frames);

}  // namespace kept_frames

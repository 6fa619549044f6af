#include "core/options.h"
#include "core/text.h"

#include <array>
#include <cwctype>

namespace options {

namespace {

struct Named {
  unsigned key;
  const wchar_t* name;
};

constexpr std::array<Named, 25> kNamedKeys{{
    {0x08, L"Backspace"}, {0x09, L"Tab"},      {0x0D, L"Enter"},     {0x13, L"Pause"},    {0x1B, L"Esc"},
    {0x20, L"Space"},     {0x21, L"PageUp"},   {0x22, L"PageDown"},  {0x23, L"End"},      {0x24, L"Home"},
    {0x25, L"Left"},      {0x26, L"Up"},       {0x27, L"Right"},     {0x28, L"Down"},     {0x2C, L"PrintScreen"},
    {0x2D, L"Insert"},    {0x2E, L"Delete"},   {0x6A, L"Num*"},      {0x6B, L"Num+"},     {0x6D, L"Num-"},
    {0x6E, L"Num."},      {0x6F, L"Num/"},     {0x90, L"NumLock"},   {0x91, L"ScrollLock"}, {0x5D, L"Apps"},
}};

// The settings file's keys of the hotkeys, in the order of HotKeyIndex.
constexpr std::array<const wchar_t*, kHotKeyCount> kKeyNames{L"CaptureKey", L"QuickKey", L"SelectCaptureKey",
                                                            L"SelectKey"};

constexpr std::array<Named, 4> kModifiers{{{kControl, L"Ctrl"}, {kAlt, L"Alt"}, {kShift, L"Shift"}, {kWin, L"Win"}}};

std::wstring Hex2(unsigned v) {
  return {static_cast<wchar_t>(text::kHexDigits[(v >> 4) & 15]), static_cast<wchar_t>(text::kHexDigits[v & 15])};
}

std::wstring KeyPart(unsigned key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= 0x70 && key <= 0x87) return L"F" + std::to_wstring(key - 0x6F);
  if (key >= 0x60 && key <= 0x69) return L"Num" + std::to_wstring(key - 0x60);
  for (const Named& n : kNamedKeys)
    if (n.key == key) return n.name;
  return L"VK_" + Hex2(key);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

std::optional<unsigned> ParseNumber(std::wstring_view digits, int base) {
  const auto value = text::ParseDigits(digits, base, 2);
  return value ? std::optional<unsigned>(static_cast<unsigned>(*value)) : std::nullopt;
}

std::optional<unsigned> ParseKeyPart(std::wstring_view part) {
  if (part.size() == 1) {
    const auto c = static_cast<unsigned>(std::towupper(part[0]));
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return c;
  }
  for (const Named& n : kNamedKeys)
    if (SameText(part, n.name)) return n.key;
  if (part.size() > 1 && (part[0] == L'F' || part[0] == L'f'))
    if (auto n = ParseNumber(part.substr(1), 10); n && *n >= 1 && *n <= 24) return 0x6F + *n;
  if (part.size() == 4 && SameText(part.substr(0, 3), L"Num"))
    if (auto n = ParseNumber(part.substr(3), 10)) return 0x60 + *n;
  if (part.size() == 5 && SameText(part.substr(0, 3), L"VK_"))
    if (auto n = ParseNumber(part.substr(3), 16); n && *n > 0) return *n;
  return std::nullopt;
}

}  // namespace

std::wstring KeyName(const KeyCombo& combo) {
  if (combo.None()) return L"none";
  std::wstring name;
  for (const Named& m : kModifiers)
    if (combo.modifiers & m.key) name += std::wstring(m.name) + L"+";
  return name + KeyPart(combo.key);
}

std::optional<KeyCombo> ParseKeyName(std::wstring_view name) {
  name = text::Trim(name);
  if (SameText(name, L"none")) return KeyCombo{};
  KeyCombo combo;
  for (;;) {
    const std::size_t plus = name.find(L'+', 1);  // "Num+" ends in one
    const std::wstring_view part = text::Trim(name.substr(0, plus));
    if (plus == std::wstring_view::npos || (plus + 1 == name.size())) {
      auto key = ParseKeyPart(text::Trim(name));
      if (!key) return std::nullopt;
      combo.key = *key;
      return combo;
    }
    const Named* modifier = nullptr;
    for (const Named& m : kModifiers)
      if (SameText(part, m.name)) modifier = &m;
    if (!modifier || (combo.modifiers & modifier->key)) return std::nullopt;
    combo.modifiers |= modifier->key;
    name = name.substr(plus + 1);
  }
}

Options Read(const Reader& read) {
  Options o;
  const std::wstring pointer = read(L"Pointer");
  o.pointer = pointer == L"1";
  // A key missing keeps its default; "none" is a choice of its own.
  for (std::size_t i = 0; i < kHotKeyCount; ++i) {
    const std::wstring stored = read(kKeyNames[i]);
    if (auto parsed = ParseKeyName(stored); parsed && !stored.empty()) o.keys[i] = *parsed;
  }
  const std::wstring language = read(L"Language");
  if (language == L"ja") o.language = texts::Choice::Japanese;
  if (language == L"en") o.language = texts::Choice::English;
  o.editAfterCapture = read(L"EditAfterCapture") == L"1";
  return o;
}

std::vector<std::pair<std::wstring, std::wstring>> Writes(const Options& o) {
  const wchar_t* language = o.language == texts::Choice::Japanese  ? L"ja"
                            : o.language == texts::Choice::English ? L"en"
                                                                   : L"auto";
  std::vector<std::pair<std::wstring, std::wstring>> writes{{L"Pointer", o.pointer ? L"1" : L"0"}};
  for (std::size_t i = 0; i < kHotKeyCount; ++i) writes.emplace_back(kKeyNames[i], KeyName(o.keys[i]));
  writes.emplace_back(L"EditAfterCapture", o.editAfterCapture ? L"1" : L"0");
  writes.emplace_back(L"Language", language);
  return writes;
}

}  // namespace options

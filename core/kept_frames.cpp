#include "core/kept_frames.h"

#include "core/frame_model.h"
#include "core/frame_tools.h"
#include "core/text.h"

namespace kept_frames {

std::optional<std::wstring> UsableName(std::wstring_view typed) {
  typed = text::Trim(typed, L" \u3000");
  if (typed.empty() || typed.size() > kMaxNameLength) return std::nullopt;
  for (wchar_t c : typed)
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  return std::wstring(typed);
}

int IndexOf(const List& frames, std::wstring_view name) {
  for (std::size_t i = 0; i < frames.size(); ++i)
    if (frames[i].name == name) return static_cast<int>(i);
  return -1;
}

bool Keep(List& frames, const KeptFrame& frame) {
  const int at = IndexOf(frames, frame.name);
  if (at >= 0) {
    frames[static_cast<std::size_t>(at)] = frame;
    return true;
  }
  if (frames.size() >= kMaxFrames) return false;
  frames.push_back(frame);
  return true;
}

std::wstring MenuText(std::wstring_view name) {
  std::wstring text;
  for (wchar_t c : name) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

namespace {

// Wide characters (UTF-16 on Windows) to UTF-8; a lone surrogate stays as it is, encoded on
// its own, so that any name comes back.
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf8(std::wstring_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char32_t c = static_cast<char32_t>(name[i]);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(name[++i]) - 0xDC00);
    AppendUtf8(out, c);
  }
  return out;
}

// Bytes that the settings file keeps as they are: printable ASCII, except
// what a profile read would strip or cut (spaces, quotes) and the escape.
bool KeptAsIs(unsigned char b) { return b > 0x20 && b < 0x7F && b != '%' && b != '"' && b != '\''; }

int HexValue(char c) {
  // Upper case only: the file's form is written so.
  return c >= 'a' && c <= 'f' ? -1 : text::DigitValue(static_cast<wchar_t>(static_cast<unsigned char>(c)), 16);
}

std::optional<std::string> Unescape(std::string_view encoded) {
  std::string bytes;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      bytes += encoded[i];
      continue;
    }
    if (i + 2 >= encoded.size()) return std::nullopt;
    const int hi = HexValue(encoded[i + 1]), lo = HexValue(encoded[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return bytes;
}

}  // namespace

std::string EncodeName(std::wstring_view name) {
  std::string out;
  for (unsigned char b : Utf8(name)) {
    if (KeptAsIs(b)) {
      out += static_cast<char>(b);
    } else {
      out += '%';
      out += text::kHexDigits[b >> 4];
      out += text::kHexDigits[b & 15];
    }
  }
  return out;
}

namespace {

// One UTF-8 sequence at `i` (advanced past it); nullopt when malformed.
std::optional<char32_t> NextCodePoint(const std::string& bytes, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(bytes[i++]);
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0 || lead > 0xF4 || i + static_cast<std::size_t>(more) > bytes.size()) return std::nullopt;
  char32_t c = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    const auto b = static_cast<unsigned char>(bytes[i++]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  return c;
}

}  // namespace

std::optional<std::wstring> DecodeName(std::string_view encoded) {
  const auto bytes = Unescape(encoded);
  if (!bytes) return std::nullopt;
  std::wstring name;
  for (std::size_t i = 0; i < bytes->size();) {
    const auto c = NextCodePoint(*bytes, i);
    if (!c || *c > 0x10FFFF) return std::nullopt;
    if (*c < 0x10000 || sizeof(wchar_t) == 4) {
      name += static_cast<wchar_t>(*c);
    } else {
      name += static_cast<wchar_t>(0xD800 + ((*c - 0x10000) >> 10));
      name += static_cast<wchar_t>(0xDC00 + ((*c - 0x10000) & 0x3FF));
    }
  }
  return name;
}

namespace {

std::wstring KeyOf(std::size_t index) { return L"Frame" + std::to_wstring(index + 1); }

// "left,top,width,height,name" back to a frame: whole numbers, a side of
// at least the frame's minimum, and a name that decodes to a usable one.
std::optional<KeptFrame> ParseValue(const std::wstring& value) {
  const auto stored = frame_tools::ParseStoredRect(value, -frame_tools::kMaxSide - 1, frame::kMinFramePixels);
  if (!stored) return std::nullopt;
  std::string ascii;
  for (wchar_t c : stored->rest) {
    if (c > 0x7E) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  auto decoded = DecodeName(ascii);
  if (!decoded) return std::nullopt;
  auto name = UsableName(*decoded);
  if (!name || *name != *decoded) return std::nullopt;
  return KeptFrame{*name, stored->rect, {}};
}

}  // namespace

List Read(const Reader& read) {
  List frames;
  for (std::size_t i = 0; i < kMaxFrames; ++i)
    if (auto frame = ParseValue(read(KeyOf(i))); frame && IndexOf(frames, frame->name) < 0) frames.push_back(*frame);
  return frames;
}

std::vector<std::pair<std::wstring, std::optional<std::wstring>>> Writes(const List& frames) {
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> writes;
  for (std::size_t i = 0; i < kMaxFrames; ++i) {
    if (i >= frames.size()) {
      writes.emplace_back(KeyOf(i), std::nullopt);
      continue;
    }
    const geometry::Rect& r = frames[i].pixels;
    std::wstring value = std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                         std::to_wstring(r.Width()) + L"," + std::to_wstring(r.Height()) + L",";
    for (char c : EncodeName(frames[i].name)) value += static_cast<wchar_t>(c);
    writes.emplace_back(KeyOf(i), value);
  }
  return writes;
}

void ReadMasks(List& frames, const Reader& read) {
  for (std::size_t i = 0; i < kMaxFrames; ++i) {
    const std::wstring value = read(KeyOf(i));
    const std::size_t space = value.find(L' ');
    if (space == std::wstring::npos) continue;
    std::string ascii;
    for (wchar_t c : value.substr(space + 1)) ascii += c < 0x7F ? static_cast<char>(c) : '\x01';
    const auto name = DecodeName(ascii);
    const int at = name ? IndexOf(frames, *name) : -1;
    if (at >= 0) frames[static_cast<std::size_t>(at)].masks = masks::ParseList(value.substr(0, space));
  }
}

std::vector<std::pair<std::wstring, std::optional<std::wstring>>> MasksWrites(const List& frames) {
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> writes;
  std::size_t key = 0;
  for (const KeptFrame& frame : frames) {
    if (frame.masks.empty()) continue;
    std::wstring value = masks::ListText(frame.masks) + L" ";
    for (char c : EncodeName(frame.name)) value += static_cast<wchar_t>(c);
    writes.emplace_back(KeyOf(key++), value);
  }
  while (key < kMaxFrames) writes.emplace_back(KeyOf(key++), std::nullopt);
  return writes;
}

}  // namespace kept_frames

#include "core/command_line.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <functional>
#include <map>

namespace command_line {

namespace {

constexpr std::array<const wchar_t*, 6> kTypeNames{L"bmp", L"gif", L"jpg100", L"jpg50", L"jpg20", L"png"};
constexpr int kDay = 24 * 60 * 60;

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// Digits only, with a minus where allowed: "+5", " 5" and "5s" are not numbers.
std::optional<long long> Integer(const std::wstring& text, bool negative) {
  std::size_t i = negative && !text.empty() && text[0] == L'-' ? 1 : 0;
  if (i == text.size() || text.size() - i > 9) return std::nullopt;
  long long value = 0;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (text[j] < L'0' || text[j] > L'9') return std::nullopt;
    value = value * 10 + (text[j] - L'0');
  }
  return i ? -value : value;
}

std::optional<int> Seconds(const std::wstring& text, int least, int most) {
  const std::optional<long long> value = Integer(text, false);
  if (!value || *value < least || *value > most) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<geometry::Rect> AreaOf(const std::wstring& text) {
  std::array<long long, 4> v{};
  std::size_t from = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = i < 3 ? text.find(L',', from) : text.size();
    if (comma == std::wstring::npos) return std::nullopt;
    const std::optional<long long> n = Integer(text.substr(from, comma - from), i < 2);
    if (!n) return std::nullopt;
    v[i] = *n;
    from = comma + 1;
  }
  if (v[2] < 1 || v[3] < 1) return std::nullopt;
  return geometry::RectAt(static_cast<std::int32_t>(v[0]), static_cast<std::int32_t>(v[1]),
                          static_cast<std::int32_t>(v[2]), static_cast<std::int32_t>(v[3]));
}

struct Switch {
  std::wstring name, value;
  bool hasValue = false;
};

// Reads one switch into `command`; the error, or empty.
using Reader = std::function<std::wstring(const Switch&, Command&)>;

std::wstring Action(Command& command, enum Action action) {
  if (command.action != Action::None) return L"give one action: /capture, /watch, /record, /stop or /help";
  command.action = action;
  return {};
}

std::wstring NoValue(const Switch& s) {
  return s.hasValue ? L"/" + s.name + L" takes no value" : std::wstring();
}

std::wstring ReadWatch(const Switch& s, Command& c) {
  if (Lower(s.value) == L"changes") return Action(c, Action::Watch);
  const std::optional<int> seconds = Seconds(s.value, 1, kDay);
  if (!seconds) return L"/watch takes changes or whole seconds from 1 to 86400: /watch:" + s.value;
  c.watchSeconds = *seconds;
  return Action(c, Action::Watch);
}

std::wstring ReadRecord(const Switch& s, Command& c) {
  const std::optional<int> seconds = Seconds(s.value, 1, 3600);
  if (!seconds) return L"/record takes whole seconds from 1 to 3600: /record:" + s.value;
  c.recordSeconds = *seconds;
  return Action(c, Action::Record);
}

std::wstring ReadArea(const Switch& s, Command& c) {
  c.area = AreaOf(s.value);
  return c.area ? std::wstring() : L"/area takes X,Y,W,H in pixels, W and H at least 1: /area:" + s.value;
}

// A switch whose value is a text that must not be empty.
Reader TextReader(const wchar_t* what, std::wstring Command::*field) {
  return [what, field](const Switch& s, Command& c) -> std::wstring {
    if (s.value.empty()) return L"/" + s.name + L" takes " + what;
    c.*field = s.value;
    return {};
  };
}

std::wstring ReadType(const Switch& s, Command& c) {
  const auto at = std::find(kTypeNames.begin(), kTypeNames.end(), Lower(s.value));
  if (at == kTypeNames.end()) return L"/type takes bmp, gif, jpg100, jpg50, jpg20 or png: /type:" + s.value;
  c.type = static_cast<int>(at - kTypeNames.begin());
  return {};
}

// A switch of whole seconds from `least` to `most`.
Reader SecondsReader(int least, int most, int Command::*field) {
  return [least, most, field](const Switch& s, Command& c) -> std::wstring {
    const std::optional<int> seconds = Seconds(s.value, least, most);
    if (!seconds)
      return L"/" + s.name + L" takes whole seconds from " + std::to_wstring(least) + L" to " + std::to_wstring(most) +
             L": /" + s.name + L":" + s.value;
    c.*field = *seconds;
    return {};
  };
}

Reader ActionReader(enum Action action) {
  return [action](const Switch& s, Command& c) { return s.hasValue ? NoValue(s) : Action(c, action); };
}

Reader FlagReader(bool Command::*field) {
  return [field](const Switch& s, Command& c) {
    c.*field = true;
    return NoValue(s);
  };
}

const std::map<std::wstring, Reader>& Readers() {
  static const std::map<std::wstring, Reader> readers{
      {L"capture", ActionReader(Action::Capture)}, {L"stop", ActionReader(Action::Stop)},
      {L"help", ActionReader(Action::Help)},       {L"?", ActionReader(Action::Help)},
      {L"watch", ReadWatch},                       {L"record", ReadRecord},
      {L"area", ReadArea},                         {L"frame", TextReader(L"the name of a kept frame", &Command::frameName)},
      {L"out", TextReader(L"a path", &Command::out)}, {L"type", ReadType},
      {L"clipboard", FlagReader(&Command::clipboard)}, {L"pointer", FlagReader(&Command::pointer)},
      {L"delay", SecondsReader(0, 3600, &Command::delaySeconds)},
      {L"for", SecondsReader(1, kDay, &Command::forSeconds)},
  };
  return readers;
}

// The switches each action takes besides its own.
bool Allowed(enum Action action, const std::wstring& name) {
  static const std::map<enum Action, std::wstring> allowed{
      {Action::Capture, L" area frame out type clipboard pointer delay "},
      {Action::Watch, L" area frame out type pointer for "},
      {Action::Record, L" area frame out pointer "},
  };
  const auto at = allowed.find(action);
  return at != allowed.end() && at->second.find(L" " + name + L" ") != std::wstring::npos;
}

bool IsAction(const std::wstring& name) {
  return name == L"capture" || name == L"watch" || name == L"record" || name == L"stop" || name == L"help" ||
         name == L"?";
}

std::wstring Extension(const std::wstring& path) {
  const std::size_t dot = path.find_last_of(L".\\/:");
  if (dot == std::wstring::npos || path[dot] != L'.') return {};
  return Lower(path.substr(dot));
}

// What the switches together must make sense of.
std::wstring Check(Command& c, const std::vector<std::wstring>& names) {
  if (c.action == Action::None) return L"no action: give /capture, /watch, /record or /stop";
  for (const std::wstring& name : names)
    if (!IsAction(name) && !Allowed(c.action, name)) return L"/" + name + L" is not for this action";
  if (c.area && !c.frameName.empty()) return L"/area and /frame name two areas: give one";
  if (c.action == Action::Capture && !c.out.empty() && !c.type) {
    c.type = TypeOfExtension(c.out);
    if (!c.type) return L"/out needs .bmp, .gif, .jpg or .png, or a /type: /out:" + c.out;
  }
  if (c.action == Action::Record && !c.out.empty() && Extension(c.out) != L".gif" && Extension(c.out) != L".png")
    return L"/record writes .gif or .png: /out:" + c.out;
  return {};
}

std::optional<Switch> SwitchOf(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return std::nullopt;
  const std::size_t colon = argument.find(L':');
  Switch s{Lower(argument.substr(1, colon == std::wstring::npos ? std::wstring::npos : colon - 1)), {}, false};
  if (colon != std::wstring::npos) s = {s.name, argument.substr(colon + 1), true};
  return s;
}

}  // namespace

Parsed Parse(const std::vector<std::wstring>& arguments) {
  Parsed parsed;
  std::vector<std::wstring> names;
  for (const std::wstring& argument : arguments) {
    const std::optional<Switch> s = SwitchOf(argument);
    const auto reader = s ? Readers().find(s->name) : Readers().end();
    if (reader == Readers().end()) parsed.error = L"unknown switch: " + argument;
    else if (std::find(names.begin(), names.end(), s->name) != names.end()) parsed.error = L"/" + s->name + L" is given twice";
    else parsed.error = reader->second(*s, parsed.command);
    if (!parsed.error.empty()) return parsed;
    names.push_back(s->name);
  }
  parsed.error = Check(parsed.command, names);
  return parsed;
}

std::optional<int> TypeOfExtension(const std::wstring& path) {
  const std::wstring extension = Extension(path);
  if (extension == L".bmp") return 0;
  if (extension == L".gif") return 1;
  if (extension == L".jpg" || extension == L".jpeg") return 2;
  if (extension == L".png") return 5;
  return std::nullopt;
}

std::vector<std::wstring> Format(const Command& c) {
  std::vector<std::wstring> out;
  switch (c.action) {
    case Action::None: return out;
    case Action::Capture: out.push_back(L"/capture"); break;
    case Action::Watch:
      out.push_back(L"/watch:" + (c.watchSeconds ? std::to_wstring(c.watchSeconds) : std::wstring(L"changes")));
      break;
    case Action::Record: out.push_back(L"/record:" + std::to_wstring(c.recordSeconds)); break;
    case Action::Stop: out.push_back(L"/stop"); break;
    case Action::Help: out.push_back(L"/help"); break;
  }
  if (c.area)
    out.push_back(L"/area:" + std::to_wstring(c.area->left) + L"," + std::to_wstring(c.area->top) + L"," +
                  std::to_wstring(c.area->Width()) + L"," + std::to_wstring(c.area->Height()));
  if (!c.frameName.empty()) out.push_back(L"/frame:" + c.frameName);
  if (!c.out.empty()) out.push_back(L"/out:" + c.out);
  if (c.type) out.push_back(std::wstring(L"/type:") + kTypeNames[static_cast<std::size_t>(*c.type)]);
  if (c.clipboard) out.push_back(L"/clipboard");
  if (c.pointer) out.push_back(L"/pointer");
  if (c.delaySeconds) out.push_back(L"/delay:" + std::to_wstring(c.delaySeconds));
  if (c.forSeconds) out.push_back(L"/for:" + std::to_wstring(c.forSeconds));
  return out;
}

std::wstring AfterProgramName(const std::wstring& line) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    i = close == std::wstring::npos ? line.size() : close + 1;
  }
  while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  return line.substr(i);
}

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
  std::vector<std::wstring> arguments;
  std::wstring current;
  bool inArgument = false, quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if ((c == L' ' || c == L'\t') && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
      continue;
    }
    inArgument = true;
    if (c == L'\\') {
      std::size_t count = 0;
      while (i < text.size() && text[i] == L'\\') ++count, ++i;
      const bool quoteFollows = i < text.size() && text[i] == L'"';
      current.append(quoteFollows ? count / 2 : count, L'\\');
      if (quoteFollows && count % 2) current += L'"';
      else --i;  // the quote (or the next character) is read next
      continue;
    }
    if (c != L'"') current += c;
    else if (quoted && i + 1 < text.size() && text[i + 1] == L'"') current += L'"', ++i;
    else quoted = !quoted;
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

std::wstring JoinFields(const std::vector<std::wstring>& fields) {
  std::wstring joined;
  for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? std::wstring(1, L'\0') : std::wstring()) + fields[i];
  return joined;
}

std::vector<std::wstring> SplitFields(const std::wstring& joined) {
  std::vector<std::wstring> fields;
  if (joined.empty()) return fields;
  std::size_t from = 0;
  for (std::size_t nul = joined.find(L'\0'); nul != std::wstring::npos; nul = joined.find(L'\0', from)) {
    fields.push_back(joined.substr(from, nul - from));
    from = nul + 1;
  }
  fields.push_back(joined.substr(from));
  return fields;
}

std::wstring Usage() {
  return L"Usage: kirasoe [/capture | /watch:changes | /watch:SECONDS | /record:SECONDS | /stop | /help]\n"
         L"  /capture             captures the frame as a quick capture does and prints the file\n"
         L"    /area:X,Y,W,H      this area instead (screen pixels; negative left of or above the main monitor)\n"
         L"    /frame:NAME        a kept frame instead\n"
         L"    /out:PATH          the file; its extension picks the type (else the quick series)\n"
         L"    /type:T            bmp, gif, jpg100, jpg50, jpg20 or png\n"
         L"    /clipboard         the picture on the clipboard too\n"
         L"    /pointer           the pointer in the picture\n"
         L"    /delay:SECONDS     waits first\n"
         L"  /watch:changes       a picture each time the area has changed and stayed still\n"
         L"  /watch:SECONDS       a picture every SECONDS\n"
         L"    /out:FOLDER /for:SECONDS /area /frame /type /pointer\n"
         L"  /record:SECONDS      records the area; /out:FILE.gif or /out:FILE.png /area /frame /pointer\n"
         L"  /stop                ends the watch or the recording a command started\n"
         L"Without a switch, Kirasoe starts, or brings the running camera to the front.\n"
         L"Exit codes: 0 done, 1 failed (the reason on stderr), 2 usage, 3 Kirasoe stayed busy for 10 s.\n";
}

}  // namespace command_line

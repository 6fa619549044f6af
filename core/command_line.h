// The switches a script gives kirasoe.exe: what to do (capture, watch,
// record, stop, help), where and into which file. Read strictly: a switch
// that is unknown, given twice, malformed or of no use to the action is a
// usage error, so that a typo never writes a file somewhere unexpected.
// Pure C++.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace command_line {

enum class Action { None, Capture, Watch, Record, Stop, Help };

struct Command {
  Action action = Action::None;
  std::optional<geometry::Rect> area;  // screen pixels; none: the frame
  std::wstring frameName;              // a kept frame; empty: the frame
  std::wstring out;                    // a file (capture, record) or a folder (watch); empty: the series'
  std::optional<int> type;             // 0-based picture type: 0 BMP, 1 GIF, 2-4 JPEG 100/50/20, 5 PNG
  bool clipboard = false, pointer = false;
  int delaySeconds = 0;
  int watchSeconds = 0;  // a watch at this interval; 0 watches for changes
  int forSeconds = 0;    // how long a watch runs; 0 until /stop
  int recordSeconds = 0;  // a recording of this length; its type is /out's extension
  friend bool operator==(const Command&, const Command&) = default;
};

struct Parsed {
  Command command;
  std::wstring error;  // empty when the switches are valid
};
// `arguments` without the program's name.
Parsed Parse(const std::vector<std::wstring>& arguments);
// The switches that give `command` again (what a second instance hands the
// running one).
std::vector<std::wstring> Format(const Command& command);
// The picture type an extension names (".png", ".JPG"...); none for others.
std::optional<int> TypeOfExtension(const std::wstring& path);

// The usage text, lines ending in "\n".
std::wstring Usage();

// How a command ended, as its exit code says.
enum Exit : int { Done = 0, Failed = 1, UsageError = 2, InstanceBusy = 3 };
struct Outcome {
  int code = Done;
  std::wstring out, err;  // what it prints on stdout and stderr, lines ending in "\n"
};

// Texts handed between two instances in one buffer: joined by NULs, and
// split again (an empty buffer is no field).
std::wstring JoinFields(const std::vector<std::wstring>& fields);
std::vector<std::wstring> SplitFields(const std::wstring& joined);

// What follows the program's name in a Windows command line, as it stands:
// the name runs to the next quote when it starts with one, else to the
// first blank, and the blanks after it go too.
std::wstring AfterProgramName(const std::wstring& line);
// The arguments of what follows the program's name, split as the C runtime
// splits them: blanks separate outside quotes; 2n backslashes before a
// quote give n and the quote opens or closes, 2n+1 give n and a literal
// quote; "" inside quotes is a literal quote; other backslashes stay.
std::vector<std::wstring> SplitArguments(const std::wstring& text);

}  // namespace command_line

// Recording the frame: the settings of 「録画」, when each frame is due,
// what the label beside the frame shows and the types a recording is saved
// as. Pure C++; the program samples the screen and encodes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/texts.h"

namespace recording {

inline constexpr const wchar_t* kSection = L"Record";

// The frame rates of 「録画のコマ数」, in the submenu's order.
inline constexpr std::int32_t kRates[] = {5, 10, 15, 20, 30};

struct Settings {
  std::int32_t framesPerSecond = 10;
  std::int32_t limitSeconds = 300;  // a recording stops by itself after this
  std::wstring folder, name;        // of the last recording saved; empty: none yet
  std::int32_t type = 0;            // index into kTypes
  friend bool operator==(const Settings&, const Settings&) = default;
};

using Reader = std::function<std::wstring(const std::wstring& key)>;
// Missing, unreadable or out-of-range values read as their defaults.
Settings Read(const Reader& read);
std::vector<std::pair<std::wstring, std::wstring>> Writes(const Settings& settings);

// The types of the save dialog 「録画を保存する」, in its order.
struct Type {
  texts::Id description;
  const wchar_t* pattern;
  const wchar_t* extension;
  bool apng;
};
inline constexpr Type kTypes[] = {{texts::Id::TypeAnimatedGif, L"*.gif", L".gif", false},
                                  {texts::Id::TypeApng, L"*.png", L".png", true}};
// The dialog's filter: description and pattern of each type, NUL-separated.
std::wstring FilterText(texts::Language language);

// The path a recording is saved to: `path` as typed, with the type's
// extension appended unless it already ends in it (compared as file names
// are, through `fold`).
std::wstring SavePath(const std::wstring& path, const Type& type,
                      const std::function<std::wstring(const std::wstring&)>& fold);

// The frames' times: frame `n` of a recording is due `n` periods after the
// start, counted from the start so that the rate never drifts.
class Clock {
 public:
  explicit Clock(std::int32_t framesPerSecond) : fps_(framesPerSecond) {}
  std::int64_t DueAt(std::int64_t frame) const { return frame * 1000 / fps_; }
  // The frame due at `elapsedMs`: the last one whose time has come. Frames
  // between the last one sampled and this one were missed.
  std::int64_t FrameAt(std::int64_t elapsedMs) const { return elapsedMs * fps_ / 1000; }

 private:
  std::int32_t fps_;
};

// "● 00:07 70コマ": the time recorded (minutes and seconds) and the frames.
std::wstring LabelText(std::int64_t elapsedMs, std::int64_t frames, texts::Language language);

}  // namespace recording

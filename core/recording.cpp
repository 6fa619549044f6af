#include "core/recording.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "core/numbers.h"

namespace recording {
using num::WholeInRange;

Settings Read(const Reader& read) {
  Settings s;
  const std::int32_t rate = WholeInRange(read(L"FramesPerSecond"), 1, 30, s.framesPerSecond);
  if (std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates)) s.framesPerSecond = rate;
  s.limitSeconds = WholeInRange(read(L"LimitSeconds"), 1, 300, s.limitSeconds);
  s.folder = read(L"Folder");
  s.name = read(L"Name");
  s.type = WholeInRange(read(L"Type"), 0, static_cast<std::int32_t>(std::size(kTypes)) - 1, s.type);
  return s;
}

std::vector<std::pair<std::wstring, std::wstring>> Writes(const Settings& s) {
  return {{L"FramesPerSecond", std::to_wstring(s.framesPerSecond)},
          {L"LimitSeconds", std::to_wstring(s.limitSeconds)},
          {L"Folder", s.folder},
          {L"Name", s.name},
          {L"Type", std::to_wstring(s.type)}};
}

std::wstring FilterText(texts::Language language) {
  std::wstring filter;
  for (const Type& t : kTypes) {
    filter += texts::Get(t.description, language);
    filter += L'\0';
    filter += t.pattern;
    filter += L'\0';
  }
  return filter;
}

std::wstring SavePath(const std::wstring& path, const Type& type,
                      const std::function<std::wstring(const std::wstring&)>& fold) {
  const std::wstring extension = type.extension;
  if (path.size() > extension.size() && fold(path.substr(path.size() - extension.size())) == fold(extension))
    return path;
  return path + extension;
}

std::wstring LabelText(std::int64_t elapsedMs, std::int64_t frames, texts::Language language) {
  const std::int64_t seconds = std::max<std::int64_t>(elapsedMs, 0) / 1000;
  wchar_t time[32];
  std::swprintf(time, std::size(time), L"%02lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return texts::Format(texts::Id::RecordingLabel, language, {time, std::to_wstring(frames)});
}

}  // namespace recording

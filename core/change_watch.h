// Watching the capture area for changes: what counts as a change of the
// area, when it has settled, and the settings that tune both. Pure C++;
// the program supplies the samples of the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry.h"

namespace change_watch {

inline constexpr const wchar_t* kSection = L"Watch";

struct Settings {
  std::int32_t settleMs = 1000;       // the area must be still this long before a picture
  std::int32_t minChangedPixels = 400;  // fewer changed pixels are no change (a caret, a clock, a spinner)
  std::int32_t minChangedPerMille = 10;  // nor fewer than this share of the area
  std::int32_t intervalSeconds = 10;   // the interval last chosen
  friend bool operator==(const Settings&, const Settings&) = default;
};

// The intervals of 「一定間隔で撮影」, in the submenu's order.
inline constexpr std::int32_t kIntervals[] = {5, 10, 30, 60, 300};
// At most this many pictures in one watch.
inline constexpr int kMaxPictures = 9999;

using Reader = std::function<std::wstring(const std::wstring& key)>;
// Missing, unreadable or out-of-range values read as their defaults.
Settings Read(const Reader& read);
std::vector<std::pair<std::wstring, std::wstring>> Writes(const Settings& settings);

// How often the area is sampled: more rarely for big areas, so that
// watching a still full-HD area costs little.
std::int32_t SampleIntervalMs(std::int32_t width, std::int32_t height);

// The pixels of two samples of `width` x `height` (32 bits each, rows top
// first) that differ, leaving out those in `ignored` (the program's own
// windows over the area, in area coordinates).
std::size_t ChangedPixels(const std::uint32_t* a, const std::uint32_t* b, std::int32_t width, std::int32_t height,
                          const std::vector<geometry::Rect>& ignored);

// Whether that many changed pixels make a change of the area.
bool Significant(std::size_t changed, std::int32_t width, std::int32_t height, const Settings& settings);

// What the comparison leaves out: the parts of `windows` (screen pixels)
// over `area`, in area coordinates. The frame itself stands outside the
// area while it is watched.
std::vector<geometry::Rect> Ignored(const geometry::Rect& area, const std::vector<geometry::Rect>& windows);

// What a watch does with each sample.
enum class Verdict { Still, Changing, TakePicture };

// Whether the area has changed and then been still for the settle time.
class SettleClock {
 public:
  explicit SettleClock(std::int32_t settleMs) : settleMs_(settleMs) {}
  // A sample at `now` (milliseconds): whether it differs from the last
  // picture saved and from the sample before.
  Verdict Sample(std::int64_t now, bool differsFromSaved, bool differsFromPrevious);

 private:
  std::int32_t settleMs_;
  std::int64_t movedAt_ = 0;  // when the area last changed between two samples
};

}  // namespace change_watch

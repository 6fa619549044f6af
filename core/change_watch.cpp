#include "core/change_watch.h"

#include <algorithm>

#include "core/numbers.h"

namespace change_watch {
using num::WholeInRange;

Settings Read(const Reader& read) {
  Settings s;
  s.settleMs = WholeInRange(read(L"SettleMs"), 200, 60000, s.settleMs);
  s.minChangedPixels = WholeInRange(read(L"MinChangedPixels"), 1, 100000000, s.minChangedPixels);
  s.minChangedPerMille = WholeInRange(read(L"MinChangedPerMille"), 0, 1000, s.minChangedPerMille);
  const std::int32_t interval = WholeInRange(read(L"Interval"), 1, 300, s.intervalSeconds);
  if (std::find(std::begin(kIntervals), std::end(kIntervals), interval) != std::end(kIntervals))
    s.intervalSeconds = interval;
  return s;
}

std::vector<std::pair<std::wstring, std::wstring>> Writes(const Settings& s) {
  return {{L"SettleMs", std::to_wstring(s.settleMs)},
          {L"MinChangedPixels", std::to_wstring(s.minChangedPixels)},
          {L"MinChangedPerMille", std::to_wstring(s.minChangedPerMille)},
          {L"Interval", std::to_wstring(s.intervalSeconds)}};
}

std::int32_t SampleIntervalMs(std::int32_t width, std::int32_t height) {
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  return pixels <= 1'000'000 ? 250 : pixels <= 2'500'000 ? 333 : 500;
}

std::size_t ChangedPixels(const std::uint32_t* a, const std::uint32_t* b, std::int32_t width, std::int32_t height,
                          const std::vector<geometry::Rect>& ignored) {
  std::size_t changed = 0;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint32_t* ra = a + static_cast<std::size_t>(y) * width;
    const std::uint32_t* rb = b + static_cast<std::size_t>(y) * width;
    if (std::equal(ra, ra + width, rb)) continue;  // most rows of most samples
    for (std::int32_t x = 0; x < width; ++x) {
      if ((ra[x] & 0xFFFFFFu) == (rb[x] & 0xFFFFFFu)) continue;
      const bool left = std::any_of(ignored.begin(), ignored.end(), [x, y](const geometry::Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      });
      if (!left) ++changed;
    }
  }
  return changed;
}

bool Significant(std::size_t changed, std::int32_t width, std::int32_t height, const Settings& s) {
  const std::int64_t share = static_cast<std::int64_t>(width) * height * s.minChangedPerMille / 1000;
  return static_cast<std::int64_t>(changed) >= std::max<std::int64_t>(s.minChangedPixels, share);
}

std::vector<geometry::Rect> Ignored(const geometry::Rect& area, const std::vector<geometry::Rect>& windows) {
  std::vector<geometry::Rect> ignored;
  for (const geometry::Rect& win : windows) {
    const geometry::Rect r{std::max(win.left, area.left) - area.left, std::max(win.top, area.top) - area.top,
                           std::min(win.right, area.right) - area.left, std::min(win.bottom, area.bottom) - area.top};
    if (r.right > r.left && r.bottom > r.top) ignored.push_back(r);
  }
  return ignored;
}

Verdict SettleClock::Sample(std::int64_t now, bool differsFromSaved, bool differsFromPrevious) {
  if (differsFromPrevious) movedAt_ = now;
  if (!differsFromSaved) return Verdict::Still;
  return now - movedAt_ >= settleMs_ ? Verdict::TakePicture : Verdict::Changing;
}

}  // namespace change_watch

#include "app/area_watch.h"

#include <algorithm>

#include "win/failure_log.h"

namespace {

constexpr UINT kTickMilliseconds = 50;

std::int64_t Now() { return static_cast<std::int64_t>(::GetTickCount64()); }

}  // namespace

bool AreaWatch::Start(Mode mode, std::int32_t intervalSeconds, const change_watch::Settings& settings) {
  if (!ticker_.Start(kTickMilliseconds, [this] { Tick(); })) return false;
  mode_ = mode;
  intervalSeconds_ = intervalSeconds;
  settings_ = settings;
  settle_ = change_watch::SettleClock(settings.settleMs);
  pictures_ = 0;
  saved_.clear();
  previous_.clear();
  sampledArea_ = {};
  // The area as it stands is the first picture.
  due_ = true;
  nextAt_ = Now();
  intervals_ = schedule::Slots(nextAt_, std::max<std::int64_t>(intervalSeconds, 1) * 1000);
  Tick();
  return true;
}

void AreaWatch::Stop() { End(L""); }

void AreaWatch::End(const std::wstring& why) {
  if (mode_ == Mode::Off) return;
  ticker_.Stop();
  mode_ = Mode::Off;
  owner_.WatchEnded(why);
}

void AreaWatch::Tick() {
  if (mode_ == Mode::Off) return;
  const std::int64_t now = Now();
  if (mode_ == Mode::Interval && now >= nextAt_) due_ = true;
  if (due_) {
    Take(now);
    return;
  }
  if (mode_ != Mode::Changes || now < nextAt_) return;
  const geometry::Rect area = owner_.WatchedArea();
  nextAt_ = now + change_watch::SampleIntervalMs(area.Width(), area.Height());
  SampleForChanges(now, area);
}

void AreaWatch::SampleForChanges(std::int64_t now, const geometry::Rect& area) {
  // A screen that cannot be read (a locked session) pauses the watch.
  if (!sampler_.Sample(area, sample_)) return;
  if (!(area == sampledArea_)) {
    // Moved or resized: what stands there now must settle, and is new.
    saved_.clear();
    previous_.clear();
    sampledArea_ = area;
  }
  const bool fromSaved = Significant(sample_, saved_), fromPrevious = Significant(sample_, previous_);
  previous_.swap(sample_);
  const change_watch::Verdict verdict = settle_.Sample(now, fromSaved, fromPrevious);
  if (verdict == change_watch::Verdict::TakePicture) {
    due_ = true;
    Take(now);
    return;
  }
  ShowState(verdict == change_watch::Verdict::Changing);
}

bool AreaWatch::Significant(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) const {
  if (a.size() != b.size()) return true;
  const std::int32_t w = sampledArea_.Width(), h = sampledArea_.Height();
  const auto ignored = change_watch::Ignored(sampledArea_, owner_.OwnWindowsShown());
  return change_watch::Significant(change_watch::ChangedPixels(a.data(), b.data(), w, h, ignored), w, h, settings_);
}

void AreaWatch::Take(std::int64_t now) {
  const geometry::Rect area = owner_.WatchedArea();
  // Nothing is saved while the screen cannot be read.
  if (!sampler_.Sample(area, sample_)) return;
  switch (TakePicture()) {
    case Picture::NotNow: return;  // asked again at the next tick
    case Picture::Failed: End(L""); return;  // the user has been told why
    case Picture::Saved: break;
  }
  // A press on the camera while the file was written has ended the watch.
  if (mode_ == Mode::Off) return;
  due_ = false;
  ++pictures_;
  // One picture a slot: one taken late does not bring the next one sooner.
  if (mode_ == Mode::Interval) nextAt_ = intervals_.NextAfter(now);
  // What was saved is the area as it was sampled just before, settled.
  if (mode_ == Mode::Changes) {
    sampledArea_ = area;
    saved_ = sample_;
    previous_ = sample_;
    settle_ = change_watch::SettleClock(settings_.settleMs);
  }
  ShowState(false);
  if (pictures_ >= change_watch::kMaxPictures)
    End(texts::Format(texts::Id::WatchPictureLimit, owner_.Language(), {std::to_wstring(change_watch::kMaxPictures)}));
}

AreaWatch::Picture AreaWatch::TakePicture() {
  try {
    return owner_.TakeWatchPicture();
  } catch (...) {
    const std::wstring what = win::CurrentExceptionText();
    win::LogFailure(L"area watch", what);
    End(texts::Get(texts::Id::CaptureFailed, owner_.Language()) + (L"\n" + what));
    return Picture::Failed;
  }
}

void AreaWatch::ShowState(bool changing) {
  const texts::Language language = owner_.Language();
  const std::wstring count = std::to_wstring(pictures_);
  if (mode_ == Mode::Changes)
    owner_.ShowWatchState(changing ? texts::Get(texts::Id::WatchChanging, language)
                                   : texts::Format(texts::Id::WatchingChanges, language, {count}));
  else
    owner_.ShowWatchState(texts::Format(texts::Id::WatchingInterval, language, {std::to_wstring(intervalSeconds_), count}));
}

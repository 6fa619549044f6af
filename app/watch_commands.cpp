// Watching the frame (the submenu 「フレーム」): the program's side of a watch,
// which saves its pictures into the numbered series as a quick capture does.
#include "app/program.h"

namespace {

// The ring shows that a watch runs; the user's colour comes back after it.
constexpr COLORREF kWatchingColour = RGB(230, 0, 0);

}  // namespace

void Program::ToggleWatch(AreaWatch::Mode mode, int seconds) {
  const AreaWatch::Mode running = watch_.Running();
  if (running == mode && (mode == AreaWatch::Mode::Changes || watch_.IntervalSeconds() == seconds)) {
    watch_.Stop();
    return;
  }
  if (running != AreaWatch::Mode::Off) watch_.Stop();
  if (!ChooseSeries()) return;
  if (mode == AreaWatch::Mode::Interval) store_.watch.intervalSeconds = seconds;
  frame_.SetColour(kWatchingColour);
  if (!watch_.Start(mode, seconds, store_.watch)) frame_.SetColour(FrameColour(store_.data.lineColour));
}

std::vector<geometry::Rect> Program::OwnWindowsShown() const {
  std::vector<geometry::Rect> shown;
  for (const win::Window* w : std::initializer_list<const win::Window*>{&camera_, &notice_, &sizeLabel_, &watchLabel_,
                                                                        &countdown_, &preview_})
    if (w->Exists() && w->Visible()) shown.push_back(w->Bounds());
  return shown;
}

AreaWatch::Picture Program::TakeWatchPicture() {
  // A picture is taken once the program is free (not during a drag, the
  // menu or a dialog).
  if (Busy()) return AreaWatch::Picture::NotNow;
  const ActivityState::Scope busy = activity_.Start(Activity::Capturing);
  SeriesWrite write;
  if (!CopyScreen([&] { write = StartSeriesWrite(); })) return AreaWatch::Picture::Failed;
  return FinishSeriesWrite(write) ? AreaWatch::Picture::Saved : AreaWatch::Picture::Failed;
}

void Program::ShowWatchState(const std::wstring& text) {
  // Beside the frame, like the size label; it stays while the watch runs.
  constexpr unsigned kWhileWatching = 0x7FFFFFFF;
  const geometry::Rect frame = frame_.Bounds();
  watchLabel_.ShowText(text, frame, frame, kWhileWatching);
}

void Program::WatchEnded(const std::wstring& why) {
  watchLabel_.Hide();
  frame_.SetColour(FrameColour(store_.data.lineColour));
  if (!why.empty()) Tell(why);
}

#include "app/watching.h"

#include "win/failure_log.h"
#include "win/screen_copy.h"

void Watching::Toggle(AreaWatch::Mode mode, int seconds) {
  const AreaWatch::Mode running = watch_.Running();
  if (running == mode && (mode == AreaWatch::Mode::Changes || watch_.IntervalSeconds() == seconds)) {
    watch_.Stop();
    return;
  }
  if (running != AreaWatch::Mode::Off) watch_.Stop();
  if (!needs_.series.Choose()) return;
  if (mode == AreaWatch::Mode::Interval) needs_.store.watch.intervalSeconds = seconds;
  needs_.windows.KeepOff(needs_.area);
  if (watch_.Start(mode, seconds, needs_.store.watch)) return;
  const std::wstring why = win::SystemMessage(::GetLastError());
  needs_.windows.GiveBack(needs_.area, FrameColour(needs_.store.data.lineColour));
  needs_.voice.Tell(needs_.voice.Say(texts::Id::CaptureFailed) + (L"\n" + why));
}

AreaWatch::Picture Watching::TakeWatchPicture() {
  // A picture is taken once the program is free (not during a drag, the
  // menu or a dialog), so that nothing of ours shows over the area.
  const ActivityState::Scope busy = needs_.activity.Start(Activity::Capturing);
  if (!busy) return AreaWatch::Picture::NotNow;
  // A window of ours moved over the area since (the camera dragged there).
  needs_.windows.KeepOff(needs_.area);
  const geometry::Rect area = needs_.area.Pixels();
  if (!win::CopyScreen(picture_, area)) {
    needs_.voice.Tell(needs_.voice.Say(texts::Id::PictureNotTaken));
    return AreaWatch::Picture::Failed;
  }
  if (needs_.store.options.pointer) win::DrawPointer(picture_, area);
  if (!win::HideMasked(picture_, needs_.store.masks)) {
    needs_.voice.Tell(needs_.voice.Say(texts::Id::PictureNotTaken));
    return AreaWatch::Picture::Failed;
  }
  const std::optional<std::wstring> file = needs_.series.Finish(needs_.series.Start(picture_));
  if (!file) return AreaWatch::Picture::Failed;
  needs_.windows.ShowNotice(*file);
  return AreaWatch::Picture::Saved;
}

void Watching::WatchEnded(const std::wstring& why) {
  needs_.windows.GiveBack(needs_.area, FrameColour(needs_.store.data.lineColour));
  if (!why.empty()) needs_.voice.Tell(why);
}

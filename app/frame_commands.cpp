// The submenu 「フレーム」: a timed capture, the position and size typed in,
// the size presets, the frame fitted to a window, and frames kept by name.
#include "app/frame_dialogs.h"
#include "app/program.h"
#include "core/frame_tools.h"
#include "core/placement.h"
#include "win/profile.h"
#include "win/screen.h"

namespace {

std::vector<geometry::Rect> MonitorAreas() {
  std::vector<geometry::Rect> areas;
  for (const placement::Monitor& m : win::Monitors()) areas.push_back(m.area);
  return areas;
}

}  // namespace

void Program::RunFrameCommand(const MenuChoice& choice) {
  switch (choice.command) {
    case MenuCommand::Timed: StartCountdown(choice.index, choice.shift); break;
    case MenuCommand::WatchChanges: ToggleWatch(AreaWatch::Mode::Changes, store_.watch.intervalSeconds); break;
    case MenuCommand::WatchInterval: ToggleWatch(AreaWatch::Mode::Interval, choice.index); break;
    case MenuCommand::Record: ToggleRecording(); break;
    case MenuCommand::RecordRate: store_.record.framesPerSecond = choice.index; break;
    case MenuCommand::PositionAndSize: AskPosition(); break;
    case MenuCommand::Preset: FrameChanged(frame_tools::WithSize(area_.Pixels(), frame_tools::kPresets[choice.index])); break;
    case MenuCommand::FitToWindow: StartPicking(); break;
    case MenuCommand::KeepFrame: KeepFrame(); break;
    case MenuCommand::UseKept: UseKeptFrame(choice.index); break;
    case MenuCommand::RemoveKept:
      if (choice.index < static_cast<int>(store_.kept.size())) store_.kept.erase(store_.kept.begin() + choice.index);
      break;
    default: break;
  }
}

void Program::StartCountdown(int seconds, bool quick) {
  // Choosing a timed capture again while one counts cancels it.
  if (countdown_.Counting()) {
    countdown_.Cancel();
    return;
  }
  countdown_.Start(seconds, quick);
}

bool Program::CountdownEnded(bool quick) {
  if (Busy()) return false;
  // Whatever the user opened meanwhile stays open until the copy is taken,
  // and gets the focus back afterwards.
  RememberForeground();
  Capture(quick);
  return true;
}

void Program::AskPosition() {
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  if (auto typed = AskPositionAndSize(camera_.hwnd(), area_.Pixels(), MonitorAreas(), Language())) FrameChanged(*typed);
}

void Program::StartPicking() {
  beforePicking_ = area_;
  if (picker_.Start()) picking_ = activity_.Enter(Activity::Picking);
}

void Program::PickShown(const geometry::Rect& pixels) {
  area_ = beforePicking_;
  SetArea(pixels);
}

void Program::PickEnded(const std::optional<geometry::Rect>& taken) {
  picking_.Leave();
  // The area is set from the one before picking, so that a side that did
  // not change keeps the twips it was stored with.
  area_ = beforePicking_;
  if (taken) FrameChanged(*taken);
  else frame_.Layout(area_);
}

void Program::KeepFrame() {
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  const auto name = AskFrameName(camera_.hwnd(), Language());
  if (!name) return;
  const bool known = kept_frames::IndexOf(store_.kept, *name) >= 0;
  if (known && !Ask(texts::Format(texts::Id::FrameNameExists, Language(), {*name}))) return;
  if (!kept_frames::Keep(store_.kept, {*name, area_.Pixels()})) {
    Tell(texts::Format(texts::Id::TooManyFrames, Language(), {std::to_wstring(kept_frames::kMaxFrames)}));
    return;
  }
}

void Program::UseKeptFrame(int index) {
  if (index >= static_cast<int>(store_.kept.size())) return;
  // A frame kept on a monitor that is gone comes back as at start.
  const geometry::Rect kept = store_.kept[static_cast<std::size_t>(index)].pixels;
  FrameChanged(placement::BringFrameBack(kept, camera_.Bounds(), win::Monitors()).value_or(kept));
}

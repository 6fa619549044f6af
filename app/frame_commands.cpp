#include "app/frame_commands.h"

#include <algorithm>

#include "app/frame_dialogs.h"
#include "core/frame_tools.h"
#include "core/placement.h"
#include "win/screen.h"

namespace {

std::vector<geometry::Rect> MonitorAreas() {
  std::vector<geometry::Rect> areas;
  for (const placement::Monitor& m : win::Monitors()) areas.push_back(m.area);
  return areas;
}

}  // namespace

void FrameCommands::Run(const MenuChoice& choice) {
  switch (choice.command) {
    case MenuCommand::Timed: StartCountdown(choice.index, choice.shift); break;
    case MenuCommand::PositionAndSize: AskPosition(); break;
    case MenuCommand::Preset: Apply(frame_tools::WithSize(needs_.area.Pixels(), frame_tools::kPresets[choice.index])); break;
    case MenuCommand::FitToWindow: StartPicking(); break;
    case MenuCommand::KeepFrame: KeepFrame(); break;
    case MenuCommand::UseKept: UseKeptFrame(choice.index); break;
    case MenuCommand::RemoveMasks:
      needs_.masks.clear();
      needs_.windows.frame.ShowMasks(needs_.masks, needs_.area);
      break;
    case MenuCommand::RemoveKept:
      if (choice.index < static_cast<int>(needs_.kept.size())) needs_.kept.erase(needs_.kept.begin() + choice.index);
      break;
    default: break;
  }
}

bool FrameCommands::CancelCountdown() {
  if (!countdown_.Counting()) return false;
  countdown_.Cancel();
  return true;
}

void FrameCommands::StopForExit() {
  countdown_.Cancel();
  if (!picker_.Picking()) return;
  // The pointer's shape comes back, and the frame is as it was.
  picker_.Stop();
  picking_.Leave();
  needs_.area = beforePicking_;
}

void FrameCommands::StartCountdown(int seconds, bool quick) {
  // Choosing a timed capture again while one counts cancels it.
  if (!CancelCountdown()) countdown_.Start(seconds, quick);
}

void FrameCommands::AskPosition() {
  const ActivityState::Scope dialog = needs_.activity.Enter(Activity::Dialog);
  if (auto typed = AskPositionAndSize(needs_.windows.camera.hwnd(), needs_.area.Pixels(), MonitorAreas(),
                                      needs_.voice.Language()))
    Apply(*typed);
}

void FrameCommands::StartPicking() {
  beforePicking_ = needs_.area;
  if (picker_.Start()) picking_ = needs_.activity.Enter(Activity::Picking);
}

void FrameCommands::PickShown(const geometry::Rect& pixels) {
  // Set from the area before picking, so that a side that did not change
  // keeps the twips it was stored with.
  needs_.area = beforePicking_;
  needs_.area.Set(pixels);
  needs_.windows.frame.Layout(needs_.area);
}

void FrameCommands::PickEnded(const std::optional<geometry::Rect>& taken) {
  picking_.Leave();
  needs_.area = beforePicking_;
  if (taken) Apply(*taken);
  else needs_.windows.frame.Layout(needs_.area);
}

void FrameCommands::KeepFrame() {
  const ActivityState::Scope dialog = needs_.activity.Enter(Activity::Dialog);
  const Voice& voice = needs_.voice;
  const auto name = AskFrameName(needs_.windows.camera.hwnd(), voice.Language());
  if (!name) return;
  const bool known = kept_frames::IndexOf(needs_.kept, *name) >= 0;
  if (known && !voice.Ask(voice.Say(texts::Id::FrameNameExists, {*name}))) return;
  if (!kept_frames::Keep(needs_.kept, {*name, needs_.area.Pixels(), needs_.masks}))
    voice.Tell(voice.Say(texts::Id::TooManyFrames, {std::to_wstring(kept_frames::kMaxFrames)}));
}

void FrameCommands::KeepMask(const masks::Mask& mask) {
  if (needs_.masks.size() >= masks::kMaxMasks)
    return needs_.voice.Tell(needs_.voice.Say(texts::Id::TooManyMasks, {std::to_wstring(masks::kMaxMasks)}));
  if (std::find(needs_.masks.begin(), needs_.masks.end(), mask) == needs_.masks.end()) needs_.masks.push_back(mask);
  needs_.windows.frame.ShowMasks(needs_.masks, needs_.area);
}

void FrameCommands::UseKeptFrame(int index) {
  if (index >= static_cast<int>(needs_.kept.size())) return;
  // A frame kept on a monitor that is gone comes back as at start.
  const geometry::Rect kept = needs_.kept[static_cast<std::size_t>(index)].pixels;
  needs_.masks = needs_.kept[static_cast<std::size_t>(index)].masks;
  needs_.windows.frame.ShowMasks(needs_.masks, needs_.area);
  Apply(placement::BringFrameBack(kept, needs_.windows.camera.Bounds(), win::Monitors()).value_or(kept));
}

void FrameCommands::Apply(const geometry::Rect& pixels) {
  needs_.area.Set(pixels);
  needs_.windows.frame.Layout(needs_.area);
  needs_.windows.ShowSize(needs_.area);
}

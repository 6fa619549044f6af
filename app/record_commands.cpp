// Recording the frame (the submenu 「フレーム」): the program's side of a
// recording, from the start to the file or to letting it go.
#include "app/program.h"
#include "core/recording.h"
#include "win/failure_log.h"
#include "win/files.h"
#include "win/save_dialog.h"

namespace {

// The ring shows that a recording runs, as during a watch.
constexpr COLORREF kRecordingColour = RGB(230, 0, 0);

}  // namespace

void Program::ToggleRecording() {
  if (recorder_.Recording()) return recorder_.Stop();
  if (watch_.Running() != AreaWatch::Mode::Off) watch_.Stop();
  frame_.SetColour(kRecordingColour);
  frame_.ShowOutside(true, area_);
  HideWindowsOverArea();
  std::wstring failure;
  if (recorder_.Start(store_.record, win::TemporaryFolder(), failure)) return;
  RecordingStopped({});
  Tell(Say(texts::Id::RecordingNotStarted) + (L"\n" + failure));
}

void Program::HideWindowsOverArea() {
  // Nothing of Kirasoe's may be in a frame: the camera, the preview or the
  // notice where they cover the area go for the time of the recording (the
  // hotkey and the frame's menu stop it then).
  hiddenForRecording_.clear();
  for (win::Window* w : std::initializer_list<win::Window*>{&camera_, &preview_, &notice_, &sizeLabel_}) {
    if (!w->Exists() || !w->Visible() || !geometry::Intersects(w->Bounds(), area_.Pixels())) continue;
    w->Hide();
    hiddenForRecording_.push_back(w);
  }
}

void Program::ShowRecordingState(const std::wstring& text) {
  constexpr unsigned kWhileRecording = 0x7FFFFFFF;
  const geometry::Rect frame = frame_.Bounds();
  watchLabel_.ShowText(text, frame, frame, kWhileRecording);
}

void Program::RecordingStopped(const std::wstring& why) {
  watchLabel_.Hide();
  frame_.ShowOutside(false, area_);
  frame_.SetColour(FrameColour(store_.data.lineColour));
  for (win::Window* w : hiddenForRecording_) w->Show();
  hiddenForRecording_.clear();
  if (exiting_) {
    if (recorder_.Frames() > 0)
      win::LogFailure(L"recording", L"a recording of " + std::to_wstring(recorder_.Frames()) +
                                        L" frames was let go at exit");
    recorder_.Discard();
    return;
  }
  if (!why.empty()) Tell(why);
  SaveRecording();
}

void Program::SaveRecording() {
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  if (recorder_.Frames() == 0) {
    recorder_.Discard();
    Tell(Say(texts::Id::NoFramesRecorded));
    return;
  }
  while (!SaveRecordingOnce()) {
  }
  recorder_.Discard();
}

bool Program::SaveRecordingOnce() {
  recording::Settings& kept = store_.record;
  const win::SaveDialogResult result =
      win::ShowSaveDialog(camera_.hwnd(), recording::FilterText(Language()), kept.folder, kept.name, kept.type + 1,
                          Say(texts::Id::SaveRecordingTitle));
  if (!result.choice) {
    if (result.error) Tell(save_names::DialogErrorText(result.error, Language()));
    // The recording is gone once let go: asked first.
    return Ask(Say(texts::Id::DiscardRecording));
  }
  const int type = result.choice->type == 1 ? 1 : 0;
  const std::wstring path = recording::SavePath(result.choice->path, recording::kTypes[type], foldFileName_);
  if (path != result.choice->path && win::Exists(path) &&
      !Ask(texts::Format(texts::Id::FileExists, Language(), {save_names::FileNameOf(path)})))
    return false;
  win::LibraryAnimation& animation = recorder_.Animation(recording::kTypes[type].apng);
  const win::WriteOutcome written = saver_.RunAnswering([&animation, path] { return animation.ToFile(path); });
  if (!written.written) {
    Tell(save_names::NotSavedText(path, written.Reason(Language()), Language()));
    return false;  // the dialog again: the recording is still there
  }
  const save_names::Remembered remembered = save_names::RememberSaveFile(path);
  kept = {kept.framesPerSecond, kept.limitSeconds, remembered.folder, remembered.name, type};
  notice_.ShowText(save_names::FileNameOf(path), camera_.Bounds(), frame_.Bounds(), 1500);
  return true;
}

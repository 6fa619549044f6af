#include "app/recording_session.h"

#include "app/series_writer.h"
#include "core/recording.h"
#include "core/series.h"
#include "win/failure_log.h"
#include "win/files.h"
#include "win/module.h"

void RecordingSession::Toggle() {
  if (recorder_.Recording()) return recorder_.Stop();
  needs_.windows.KeepOff(needs_.area);
  std::wstring failure;
  if (recorder_.Start(needs_.store.record, win::TemporaryFolder(), failure)) return;
  // Nothing was recorded: nothing to save.
  needs_.windows.GiveBack(needs_.area, FrameColour(needs_.store.data.lineColour));
  needs_.voice.Tell(needs_.voice.Say(texts::Id::RecordingNotStarted) + (L"\n" + failure));
}

void RecordingSession::StopForExit(bool sessionEnding) {
  unattended_ = sessionEnding;
  recorder_.Stop();
}

void RecordingSession::RecordingStopped(const std::wstring& why) {
  needs_.windows.GiveBack(needs_.area, FrameColour(needs_.store.data.lineColour));
  if (unattended_) return SaveUnasked();
  if (!why.empty()) needs_.voice.Tell(why);
  Save();
}

void RecordingSession::Save() {
  const ActivityState::Scope dialog = needs_.activity.Enter(Activity::Dialog);
  if (recorder_.Frames() == 0) {
    recorder_.Discard();
    needs_.voice.Tell(needs_.voice.Say(texts::Id::NoFramesRecorded));
    return;
  }
  while (!SaveOnce()) {
  }
  recorder_.Discard();
}

bool RecordingSession::SaveOnce() {
  recording::Settings& settings = needs_.store.record;
  SaveFlow& saves = needs_.saves;
  const SaveFlow::Request request{
      recording::FilterText(Language()), needs_.voice.Say(texts::Id::SaveRecordingTitle), settings.folder, settings.name,
      settings.type + 1, [&saves](const save_names::DialogChoice& c) {
        return recording::SavePath(c.path, recording::kTypes[c.type == 1 ? 1 : 0], saves.Fold());
      }};
  SaveFlow::Chosen chosen;
  switch (saves.Choose(request, chosen)) {
    // The recording is gone once let go: asked first.
    case SaveFlow::Answer::Cancelled: return needs_.voice.Ask(needs_.voice.Say(texts::Id::DiscardRecording));
    case SaveFlow::Answer::NotReplaced: return false;
    case SaveFlow::Answer::Chosen: break;
  }
  const int type = chosen.type == 1 ? 1 : 0;
  win::LibraryAnimation& animation = recorder_.Animation(recording::kTypes[type].apng);
  const std::wstring path = chosen.path;
  const win::WriteOutcome written = saves.Write([&animation, path] { return animation.ToFile(path); });
  if (!written.written) {
    saves.TellNotSaved(path, written);
    return false;  // the dialog again: the recording is still there
  }
  const save_names::Remembered remembered = save_names::RememberSaveFile(path);
  settings = {settings.framesPerSecond, settings.limitSeconds, remembered.folder, remembered.name, type};
  needs_.windows.ShowNotice(save_names::FileNameOf(path));
  return true;
}

void RecordingSession::SaveUnasked() {
  if (recorder_.Frames() == 0) return recorder_.Discard();
  const recording::Settings& settings = needs_.store.record;
  std::wstring folder = win::IsFolder(settings.folder) ? settings.folder : win::ExeFolder();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  const std::wstring name = series::UsableBaseName(settings.name) ? settings.name : L"Kirasoe";
  const recording::Type& type = recording::kTypes[settings.type == 1 ? 1 : 0];
  const std::optional<std::wstring> temporary = win::UnusedTemporaryName(folder);
  win::WriteOutcome written{.systemError = ERROR_FILE_EXISTS};
  if (temporary) written = recorder_.Animation(type.apng).ToFile(*temporary);
  std::wstring reason = written.Reason(texts::Language::English);
  if (written.written) {
    unsigned long error = 0;
    const series::ClaimResult claimed =
        MoveToNextFreeName(folder, name, type.extension, *temporary, needs_.saves.Fold(), error);
    if (claimed.outcome == series::Claim::Done) {
      win::LogFailure(L"recording", L"saved at the end of the session as " + folder + claimed.file);
      return recorder_.Discard();
    }
    win::RemoveFile(*temporary);
    reason = win::SystemMessage(error);
  }
  win::LogFailure(L"recording", L"a recording of " + std::to_wstring(recorder_.Frames()) +
                                    L" frames could not be saved at the end of the session in " + folder + L": " +
                                    reason);
  recorder_.Discard();
}

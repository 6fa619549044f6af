#include "app/capture_sequence.h"

#include "app/capture_flash.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/screen.h"

bool CaptureSequence::Run(bool quick) {
  const ActivityState::Scope busy = needs_.activity.Start(Activity::Capturing);
  if (!busy) return false;
  try {
    RunSteps(quick);
  } catch (...) {
    Recover();
  }
  return true;
}

void CaptureSequence::Recover() {
  // Whatever failed, the windows come back, the user is told, and the next
  // capture can start.
  const std::wstring what = win::CurrentExceptionText();
  win::LogFailure(L"capture", what);
  needs_.windows.ComeBack();
  if (needs_.editor.Editing()) needs_.editor.Cancel();
  // A file already on its way is completed, so that the next can start.
  if (needs_.saves.Writer().Pending()) needs_.saves.Writer().Finish();
  needs_.voice.Tell(needs_.voice.Say(texts::Id::CaptureFailed) + (L"\n" + what));
}

bool CaptureSequence::EditLast() {
  if (!HasPicture()) return false;
  const ActivityState::Scope busy = needs_.activity.Start(Activity::Capturing);
  if (!busy) return false;
  try {
    const win::BitmapBuffer& picture = Edit();
    if (&picture == &edited_) ShowAndSave(picture);
  } catch (...) {
    Recover();
  }
  return true;
}

const win::BitmapBuffer& CaptureSequence::Edit() {
  const geometry::Rect area = needs_.area.Pixels();
  // The editor shows the picture where it was taken: the frame would stand
  // on its edge, and take the presses meant for it.
  const bool frameShown = needs_.windows.frame.Visible();
  if (frameShown) needs_.windows.frame.Hide();
  const PictureEditor::Outcome outcome = needs_.editor.Edit(Picture(), {area.left, area.top}, edited_);
  if (frameShown) needs_.windows.frame.ShowNoActivate();
  if (outcome != PictureEditor::Outcome::Saved) return Picture();
  // The clipboard holds what is saved, marks and hidden parts alike.
  win::clipboard::Withdraw();
  if (!win::clipboard::Offer(edited_)) needs_.voice.Tell(needs_.voice.Say(texts::Id::ClipboardFailed));
  return edited_;
}

void CaptureSequence::ShowAndSave(const win::BitmapBuffer& picture) {
  if (needs_.store.data.preview) ShowPreview(picture);
  SaveWithDialog(picture);
  if (needs_.store.data.preview) needs_.windows.preview.Close();
}

bool CaptureSequence::RunForFront(bool quick) {
  if (needs_.activity.Busy()) return false;
  HWND front = ::GetForegroundWindow();
  DWORD pid = 0;
  ::GetWindowThreadProcessId(front, &pid);
  if (front && pid != ::GetCurrentProcessId()) previousForeground_ = front;
  return Run(quick);
}

bool CaptureSequence::RunFromStill(bool quick, HWND front, const CopyStill& copy) {
  if (needs_.activity.Busy()) return false;
  if (front) previousForeground_ = front;
  still_ = &copy;
  const bool ran = Run(quick);
  still_ = nullptr;
  return ran;
}

bool CaptureSequence::Copy(const std::function<void()>& whenCopied) {
  const bool pointer = needs_.store.options.pointer;
  screen_.Hide(needs_.store.masks);
  if (still_) return screen_.Use(*still_, needs_.area, pointer, whenCopied);
  return screen_.Take(needs_.area, pointer, whenCopied);
}

void CaptureSequence::PointerOverCamera() {
  if (needs_.activity.Current() == Activity::Capturing) return;
  HWND front = ::GetForegroundWindow();
  if (front != needs_.windows.camera.hwnd()) previousForeground_ = front;
}

void CaptureSequence::RunSteps(bool quick) {
  // Without a folder to go to, a quick capture is the normal one; a
  // message about the name comes before the flash.
  const bool toSeries = quick && needs_.series.Possible();
  Flash();
  if (toSeries) {
    // The file is written while the windows come back and the clipboard
    // is offered the picture.
    SeriesWriter::Write write;
    if (!Copy([&] { write = needs_.series.Start(Picture()); })) return;
    if (auto file = needs_.series.Finish(write)) needs_.windows.ShowNotice(*file);
  } else {
    if (!Copy()) return;
    ShowAndSave(needs_.store.options.editAfterCapture ? Edit() : Picture());
  }
  ::SetForegroundWindow(previousForeground_);
}

void CaptureSequence::Flash() {
  CaptureFlash flash;
  flash.Open(needs_.area.Pixels());
  // The flash is painted before the pause, and gone (destroyed) after it:
  // a window destroyed leaves at once, where Wine waits for a hidden one.
  win::PumpPending();
  ::Sleep(50);
}

void CaptureSequence::ShowPreview(const win::BitmapBuffer& picture) {
  const twips::Scale scale = win::CurrentScale();
  needs_.windows.preview.ShowPicture(picture.Copy(), {twips::ToPixels(needs_.store.preview.left, scale.x),
                                                       twips::ToPixels(needs_.store.preview.top, scale.y)});
}

void CaptureSequence::SaveWithDialog(const win::BitmapBuffer& picture) {
  // The picture saved is the one captured: reading it back from the
  // clipboard could save another program's picture, or the previous
  // capture, when the clipboard could not take this one.
  if (!picture.dc()) return needs_.voice.Tell(needs_.voice.Say(texts::Id::PictureNotTaken));
  settings::State& data = needs_.store.data;
  SaveFlow& saves = needs_.saves;
  const SaveFlow::Request request{
      save_names::FilterText(needs_.voice.Language()), needs_.voice.Say(texts::Id::SaveFileTitle),
      data.lastFolder.value_or(L""), data.lastName.value_or(L""), settings::TypeIndex(data.lastType + 1),
      [&saves](const save_names::DialogChoice& c) { return save_names::MakeSaveFileName(c, saves.Fold()); }};
  SaveFlow::Chosen chosen;
  const SaveFlow::Answer answer = saves.Choose(request, chosen);
  if (answer == SaveFlow::Answer::Cancelled) return;
  data.lastType = static_cast<float>(chosen.type);
  const save_names::FileType* type = save_names::TypeAt(chosen.type);
  if (!type || answer == SaveFlow::Answer::NotReplaced) return;
  // The capture is still on the clipboard; the user must know the file is not.
  const win::WriteOutcome written = saves.WritePicture(picture, *type, chosen.path);
  if (!written.written) saves.TellNotSaved(chosen.path, written);
  const save_names::Remembered remembered = save_names::RememberSaveFile(chosen.path);
  data.lastName = remembered.name;
  data.lastFolder = remembered.folder;
}

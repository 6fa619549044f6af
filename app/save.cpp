// Saving the capture: through the save dialog, or straight to the next
// number of a series (quick capture).
#include "app/program.h"
#include "core/series.h"
#include "win/failure_log.h"
#include "win/files.h"
#include "win/screen.h"
#include "win/image_writer.h"
#include "win/save_dialog.h"

namespace {

// The dialog's filter index for a stored type, as the dialog counts (from 1).
int FilterIndex(float lastType) { return settings::TypeIndex(lastType + 1); }

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

void Program::SaveWithDialog() {
  // The picture saved is the one captured: reading it back from the
  // clipboard could save another program's picture, or the previous
  // capture, when the clipboard could not take this one.
  if (!picture_.dc()) {
    Tell(Say(texts::Id::PictureNotTaken));
    return;
  }
  const win::SaveDialogResult result = win::ShowSaveDialog(
      camera_.hwnd(), save_names::FilterText(Language()), store_.data.lastFolder.value_or(L""),
      store_.data.lastName.value_or(L""), FilterIndex(store_.data.lastType), Say(texts::Id::SaveFileTitle));
  if (!result.choice) {
    // Cancel is silent; a dialog that failed says why.
    if (result.error) Tell(save_names::DialogErrorText(result.error, Language()));
    return;
  }
  const save_names::DialogChoice& choice = *result.choice;
  store_.data.lastType = static_cast<float>(choice.type);
  const save_names::FileType* type = save_names::TypeAt(choice.type);
  if (!type) return;
  const std::wstring path = save_names::MakeSaveFileName(choice, foldFileName_);
  // The dialog asked about the name as typed; a name that only the added
  // extension makes is asked about here.
  if (path != choice.path && win::Exists(path) &&
      !Ask(texts::Format(texts::Id::FileExists, Language(), {save_names::FileNameOf(path)})))
    return;
  // The capture is still on the clipboard; the user must know the file is not.
  const win::WriteOutcome written = WriteWhileAnswering(*type, path);
  if (!written.written) Tell(save_names::NotSavedText(path, written.Reason(Language()), Language()));
  const save_names::Remembered remembered = save_names::RememberSaveFile(path);
  store_.data.lastName = remembered.name;
  store_.data.lastFolder = remembered.folder;
}

win::WriteOutcome Program::WriteWhileAnswering(const save_names::FileType& type, const std::wstring& path) {
  // The pixels are taken here, on the thread that owns the picture's
  // bitmap; the saver's thread encodes memory only. Nothing else starts
  // meanwhile, as the capture is still under way; a close waits for the
  // file (see Exit).
  win::WriteOutcome failure;
  win::LibraryPicture pixels = win::TakePixels(picture_, failure);
  if (!pixels) return failure;
  return saver_.WriteAnswering(std::move(pixels), type, path);
}

std::wstring Program::SeriesName() const {
  return store_.data.lastName.value_or(L"").empty() ? std::wstring(L"Kirasoe") : *store_.data.lastName;
}

bool Program::SeriesPossible() {
  if (!win::IsFolder(store_.data.lastFolder.value_or(L""))) return false;
  // The name comes from the settings file and may hold anything: one that
  // would reach another folder or another file is refused.
  if (series::UsableBaseName(SeriesName())) return true;
  Tell(Say(texts::Id::FileNameNotValid) + (L"\n" + SeriesName()));
  return false;
}

bool Program::ChooseSeries() {
  if (SeriesPossible()) return true;
  const ActivityState::Scope dialog = activity_.Enter(Activity::Dialog);
  const win::SaveDialogResult result =
      win::ShowSaveDialog(camera_.hwnd(), save_names::FilterText(Language()), store_.data.lastFolder.value_or(L""),
                          store_.data.lastName.value_or(L""), FilterIndex(store_.data.lastType),
                          Say(texts::Id::SaveFileTitle));
  if (!result.choice) {
    if (result.error) Tell(save_names::DialogErrorText(result.error, Language()));
    return false;
  }
  store_.data.lastType = static_cast<float>(result.choice->type);
  const save_names::Remembered remembered =
      save_names::RememberSaveFile(save_names::MakeSaveFileName(*result.choice, foldFileName_));
  store_.data.lastName = remembered.name;
  store_.data.lastFolder = remembered.folder;
  return SeriesPossible();
}

Program::SeriesWrite Program::StartSeriesWrite() {
  SeriesWrite write;
  write.type = save_names::TypeAt(settings::TypeIndex(store_.data.lastType));
  if (!write.type) write.type = save_names::TypeAt(0);
  write.folder = WithSeparator(store_.data.lastFolder.value_or(L""));
  write.name = SeriesName();
  write.entries = win::FolderEntries(write.folder);
  // Written in full under a temporary name first, and then moved to the
  // free name without replacing: nobody ever sees an empty or half-written
  // file, and a name taken meanwhile moves on to the next number.
  const std::optional<std::wstring> temporary = win::UnusedTemporaryName(write.folder);
  if (!temporary) {
    write.failure.systemError = ERROR_FILE_EXISTS;
    return write;
  }
  // The pixels are taken here, on the thread that owns the picture.
  win::LibraryPicture pixels = win::TakePixels(picture_, write.failure);
  if (pixels && saver_.Start(std::move(pixels), *write.type, *temporary, write.failure)) write.temporary = *temporary;
  return write;
}

bool Program::FinishSeriesWrite(const SeriesWrite& write) {
  const std::wstring& folder = write.folder;
  const win::WriteOutcome written = write.temporary.empty() ? write.failure : saver_.Finish();
  if (!written.written) {
    const long long next = series::NextNumber(write.entries, write.name, write.type->extension, foldFileName_);
    Tell(save_names::NotSavedText(folder + series::SeriesFileName(write.name, next, write.type->extension),
                                  written.Reason(Language()), Language()));
    return false;
  }
  unsigned long error = 0;
  const series::ClaimResult claimed = series::ClaimNext(write.entries, write.name, write.type->extension,
                                                        foldFileName_, [&](const std::wstring& file) {
    switch (win::MoveWithoutReplacing(write.temporary, folder + file, error)) {
      case win::MoveResult::Moved: return series::Claim::Done;
      case win::MoveResult::Exists: return series::Claim::Taken;
      case win::MoveResult::Failed: break;
    }
    return series::Claim::Failed;
  });
  if (claimed.outcome != series::Claim::Done) {
    if (!win::RemoveFile(write.temporary))
      win::LogFailure(L"series", write.temporary + L" is left: " + win::SystemMessage(::GetLastError()));
    Tell(save_names::NotSavedText(folder + claimed.file, win::SystemMessage(error), Language()));
    return false;
  }
  notice_.ShowText(claimed.file, camera_.Bounds(), frame_.Bounds(), 1500);
  return true;
}

#include "app/save_flow.h"

#include "win/files.h"
#include "win/save_dialog.h"

SaveFlow::Answer SaveFlow::Choose(const Request& request, Chosen& chosen) {
  const win::SaveDialogResult result = win::ShowSaveDialog(dialogOwner_.hwnd(), request.filter, request.folder,
                                                            request.name, request.filterIndex, request.title);
  if (!result.choice) {
    if (result.error) voice_.Tell(save_names::DialogErrorText(result.error, voice_.Language()));
    return Answer::Cancelled;
  }
  chosen = {request.pathFor(*result.choice), result.choice->type};
  // The dialog asked about the name as typed; a name that only the added
  // extension makes is asked about here.
  if (request.askReplace && chosen.path != result.choice->path && win::Exists(chosen.path) &&
      !voice_.Ask(voice_.Say(texts::Id::FileExists, {save_names::FileNameOf(chosen.path)})))
    return Answer::NotReplaced;
  return Answer::Chosen;
}

win::WriteOutcome SaveFlow::WritePicture(const win::BitmapBuffer& picture, const save_names::FileType& type,
                                         const std::wstring& path) {
  // The saver's thread encodes memory only.
  win::WriteOutcome failure;
  win::LibraryPicture pixels = win::TakePixels(picture, failure);
  if (!pixels) return failure;
  return saver_.WriteAnswering(std::move(pixels), type, path);
}

void SaveFlow::TellNotSaved(const std::wstring& path, const win::WriteOutcome& outcome) const {
  voice_.Tell(save_names::NotSavedText(path, outcome.Reason(voice_.Language()), voice_.Language()));
}

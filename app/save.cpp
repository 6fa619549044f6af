// Saving the capture: through the save dialog, or straight to the next
// number of a series (quick capture).
#include "app/program.h"
#include "core/series.h"
#include "win/files.h"
#include "win/image_library.h"
#include "win/image_writer.h"
#include "win/message_box.h"
#include "win/save_dialog.h"

namespace {

// The dialog's filter index for a stored type, as the dialog counts (from 1).
int FilterIndex(float lfType) { return settings::TypeIndex(lfType + 1); }

void ReportNotSaved(const std::wstring& path) {
  try {
    imgctl::ImgctlError();  // the library's error is cleared for the next file
  } catch (...) {
  }
  win::ShowMessage(L"ファイルを保存できませんでした。\n" + path);
}

}  // namespace

void Program::SaveWithDialog() {
  // The picture saved is the one captured: reading it back from the
  // clipboard could save another program's picture, or the previous
  // capture, when the clipboard could not take this one.
  if (!picture_.dc()) {
    win::ShowMessage(L"画像を取得できませんでした。");
    return;
  }
  const win::SaveDialogResult result = win::ShowSaveDialog(camera_.hwnd(), save_names::FilterText(),
                                                           settings_.lfPath.value_or(L""),
                                                           settings_.lfName.value_or(L""), FilterIndex(settings_.lfType));
  if (result.text.empty()) {
    // Cancel is silent; a dialog that failed says why.
    if (result.error) win::ShowMessage(save_names::DialogErrorText(result.error));
    return;
  }
  const save_names::DialogChoice choice = *save_names::ParseDialogResult(result.text);
  settings_.lfType = static_cast<float>(choice.type);
  const save_names::FileType* type = save_names::TypeAt(choice.type);
  if (!type) return;
  const std::wstring path = save_names::MakeSaveFileName(choice, foldFileName_);
  // The dialog asked about the name as typed; a name that only the added
  // extension makes is asked about here.
  if (path != choice.path && win::Exists(path) &&
      !win::AskYesNo(save_names::FileNameOf(path) + L" は既に存在します。\n上書きしますか？"))
    return;
  // The capture is still on the clipboard; the user must know the file is not.
  if (!win::WriteImage(picture_, *type, path)) ReportNotSaved(path);
  const save_names::Remembered remembered = save_names::RememberSaveFile(path);
  settings_.lfName = remembered.name;
  settings_.lfPath = remembered.folder;
}

bool Program::QuickFolderExists() const { return win::IsFolder(settings_.lfPath.value_or(L"")); }

bool Program::SaveToSeries() {
  const save_names::FileType* type = save_names::TypeAt(settings::TypeIndex(settings_.lfType));
  if (!type) type = save_names::TypeAt(0);
  std::wstring folder = settings_.lfPath.value_or(L"");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  const std::wstring name = settings_.lfName.value_or(L"").empty() ? std::wstring(L"Kirasoe") : *settings_.lfName;
  // A name is claimed by creating its file: one that appears meanwhile, from
  // whatever program, is never overwritten; the series takes the next number.
  const std::wstring file =
      series::ClaimNext(win::FolderEntries(folder), name, type->extension, foldFileName_,
                           [&](const std::wstring& f) { return win::CreateNewFile(folder + f); });
  const std::wstring path = folder + (file.empty() ? save_names::FileNameOf(name + type->extension) : file);
  const bool written = !file.empty() && win::WriteImage(picture_, *type, path);
  if (!written) {
    if (!file.empty()) win::RemoveFile(path);  // the claim, still empty
    win::ShowMessage(L"ファイルを保存できませんでした。\n" + path);
    return false;
  }
  notice_.ShowText(file, camera_.Bounds(), frame_.Bounds(), 1500);
  return true;
}

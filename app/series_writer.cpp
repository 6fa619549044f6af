#include "app/series_writer.h"

#include "core/series.h"
#include "win/failure_log.h"
#include "win/files.h"

namespace {

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

std::wstring SeriesWriter::Name() const {
  return data_.lastName.value_or(L"").empty() ? std::wstring(L"Kirasoe") : *data_.lastName;
}

bool SeriesWriter::Possible() {
  if (!win::IsFolder(data_.lastFolder.value_or(L""))) return false;
  // The name comes from the settings file and may hold anything: one that
  // would reach another folder or another file is refused.
  if (series::UsableBaseName(Name())) return true;
  voice_.Tell(voice_.Say(texts::Id::FileNameNotValid) + (L"\n" + Name()));
  return false;
}

bool SeriesWriter::Choose() {
  if (Possible()) return true;
  const SaveFlow::Request request{
      save_names::FilterText(voice_.Language()), voice_.Say(texts::Id::SaveFileTitle),
      data_.lastFolder.value_or(L""), data_.lastName.value_or(L""), settings::TypeIndex(data_.lastType + 1),
      [this](const save_names::DialogChoice& c) { return save_names::MakeSaveFileName(c, saves_.Fold()); }, false};
  SaveFlow::Chosen chosen;
  if (saves_.Choose(request, chosen) != SaveFlow::Answer::Chosen) return false;
  data_.lastType = static_cast<float>(chosen.type);
  const save_names::Remembered remembered = save_names::RememberSaveFile(chosen.path);
  data_.lastName = remembered.name;
  data_.lastFolder = remembered.folder;
  return Possible();
}

SeriesWriter::Write SeriesWriter::Start(const win::BitmapBuffer& picture) {
  Write write;
  write.type = save_names::TypeAt(settings::TypeIndex(data_.lastType));
  if (!write.type) write.type = save_names::TypeAt(0);
  write.folder = WithSeparator(data_.lastFolder.value_or(L""));
  write.name = Name();
  write.entries = win::FolderEntries(write.folder);
  const std::optional<std::wstring> temporary = win::UnusedTemporaryName(write.folder);
  if (!temporary) {
    write.failure.systemError = ERROR_FILE_EXISTS;
    return write;
  }
  // The pixels are taken here, on the thread that owns the picture.
  win::LibraryPicture pixels = win::TakePixels(picture, write.failure);
  if (pixels && saves_.Writer().Start(std::move(pixels), *write.type, *temporary, write.failure))
    write.temporary = *temporary;
  return write;
}

std::optional<std::wstring> SeriesWriter::Finish(const Write& write) {
  const win::WriteOutcome written = write.temporary.empty() ? write.failure : saves_.Writer().Finish();
  if (written.written) return Claim(write);
  const long long next = series::NextNumber(write.entries, write.name, write.type->extension, saves_.Fold());
  saves_.TellNotSaved(write.folder + series::SeriesFileName(write.name, next, write.type->extension), written);
  return std::nullopt;
}

std::optional<std::wstring> SeriesWriter::Claim(const Write& write) {
  unsigned long error = 0;
  const series::ClaimResult claimed =
      MoveToNextFreeName(write.folder, write.name, write.type->extension, write.temporary, saves_.Fold(), error);
  if (claimed.outcome == series::Claim::Done) return claimed.file;
  if (!win::RemoveFile(write.temporary))
    win::LogFailure(L"series", write.temporary + L" is left: " + win::SystemMessage(::GetLastError()));
  saves_.TellNotSaved(write.folder + claimed.file, {.systemError = error});
  return std::nullopt;
}

series::ClaimResult MoveToNextFreeName(const std::wstring& folder, const std::wstring& name,
                                       const std::wstring& extension, const std::wstring& temporary,
                                       const save_names::FoldCase& fold, unsigned long& error) {
  return series::ClaimNext(win::FolderEntries(folder), name, extension, fold, [&](const std::wstring& file) {
    switch (win::MoveWithoutReplacing(temporary, folder + file, error)) {
      case win::MoveResult::Moved: return series::Claim::Done;
      case win::MoveResult::Exists: return series::Claim::Taken;
      case win::MoveResult::Failed: break;
    }
    return series::Claim::Failed;
  });
}

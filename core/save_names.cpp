#include "core/save_names.h"

#include <cwchar>

namespace save_names {
namespace {

constexpr FileType kTypes[] = {
    {texts::Id::TypeBmp, L"*.bmp", L".bmp", Writer::Bmp, 0},
    {texts::Id::TypeGif, L"*.gif", L".gif", Writer::Gif, 0},
    {texts::Id::TypeJpegHigh, L"*.jpg", L".jpg", Writer::Jpg, 100},
    {texts::Id::TypeJpegMiddle, L"*.jpg", L".jpg", Writer::Jpg, 50},
    {texts::Id::TypeJpegLow, L"*.jpg", L".jpg", Writer::Jpg, 20},
    {texts::Id::TypePng, L"*.png", L".png", Writer::Png, 0},
};

}  // namespace

const FileType* TypeAt(int index) { return index >= 0 && index < 6 ? &kTypes[index] : nullptr; }

std::wstring FilterText(texts::Language language) {
  std::wstring text;
  for (const FileType& t : kTypes) {
    if (!text.empty()) text += L'\0';
    text += texts::Get(t.description, language);
    text += L'\0';
    text += t.pattern;
  }
  return text;
}

DialogChoice DialogChoiceOf(unsigned filterIndex, std::wstring_view fileBuffer) {
  return {static_cast<int>(filterIndex) - 1, std::wstring(fileBuffer.substr(0, fileBuffer.find(L'\0')))};
}

std::wstring MakeSaveFileName(const DialogChoice& choice, const FoldCase& fold) {
  const FileType* type = TypeAt(choice.type);
  std::wstring path = choice.path;
  if (!type) return path;
  const std::wstring tail = path.size() <= 4 ? std::wstring() : path.substr(path.size() - 4);
  if (tail.empty() || fold(tail) != fold(type->extension)) path += type->extension;
  return path;
}

Remembered RememberSaveFile(const std::wstring& path) {
  auto dot = path.rfind(L'.');
  if (dot == std::wstring::npos) dot = path.size();  // no extension: all of it is the name
  auto slash = dot == 0 ? std::wstring::npos : path.rfind(L'\\', dot - 1);
  if (slash == std::wstring::npos) return {path.substr(0, dot), L""};
  return {path.substr(slash + 1, dot - slash - 1), path.substr(0, slash)};
}

std::wstring FileNameOf(const std::wstring& path) {
  auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring NotSavedText(const std::wstring& path, const std::wstring& reason, texts::Language language) {
  return texts::Get(texts::Id::FileNotSaved, language) + (L"\n" + path) + (reason.empty() ? L"" : L"\n" + reason);
}

std::wstring DialogErrorText(unsigned code, texts::Language language) {
  std::wstring reason;
  switch (code) {
    case 0x3003: reason = texts::Get(texts::Id::FileNameTooLong, language); break;   // FNERR_BUFFERTOOSMALL
    case 0x3002: reason = texts::Get(texts::Id::FileNameNotValid, language); break;  // FNERR_INVALIDFILENAME
    case 0x0002: case 0x0003: case 0x0009: reason = texts::Get(texts::Id::NotEnoughMemory, language); break;
    default: break;
  }
  wchar_t hex[16];
  swprintf(hex, 16, L"0x%04X", code);
  return texts::Get(texts::Id::SaveDialogFailed, language) + (L"\n" + reason) + (reason.empty() ? L"" : L"\n") +
         texts::Format(texts::Id::DialogErrorCode, language, {hex});
}

}  // namespace save_names

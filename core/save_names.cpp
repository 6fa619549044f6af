#include "core/save_names.h"

#include <cwchar>

namespace save_names {
namespace {

constexpr FileType kTypes[] = {
    {L"BMPﾌｧｲﾙ(*.BMP)", L"*.bmp", L".bmp", Writer::Bmp, 0},
    {L"GIFﾌｧｲﾙ(*.GIF)", L"*.gif", L".gif", Writer::Gif, 0},
    {L"JPEG(High)ﾌｧｲﾙ(*.JPG)", L"*.jpg", L".jpg", Writer::Jpg, 100},
    {L"JPEG(Mid)ﾌｧｲﾙ(*.JPG)", L"*.jpg", L".jpg", Writer::Jpg, 50},
    {L"JPEG(Low)ﾌｧｲﾙ(*.JPG)", L"*.jpg", L".jpg", Writer::Jpg, 20},
    {L"PNGﾌｧｲﾙ(*.PNG)", L"*.png", L".png", Writer::Png, 0},
};

}  // namespace

const FileType* TypeAt(int index) { return index >= 0 && index < 6 ? &kTypes[index] : nullptr; }

std::wstring FilterText() {
  std::wstring text;
  for (const FileType& t : kTypes) {
    if (!text.empty()) text += L'\0';
    text += t.description;
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

std::wstring NotSavedText(const std::wstring& path, const std::wstring& reason) {
  return L"ファイルを保存できませんでした。\n" + path + (reason.empty() ? L"" : L"\n" + reason);
}

std::wstring DialogErrorText(unsigned code) {
  std::wstring reason;
  switch (code) {
    case 0x3003: reason = L"ファイル名が長すぎます。"; break;      // FNERR_BUFFERTOOSMALL
    case 0x3002: reason = L"ファイル名が正しくありません。"; break;  // FNERR_INVALIDFILENAME
    case 0x0002: case 0x0003: case 0x0009: reason = L"メモリが足りません。"; break;
    default: break;
  }
  wchar_t hex[16];
  swprintf(hex, 16, L"0x%04X", code);
  return L"保存ダイアログを表示できませんでした。\n" + reason + (reason.empty() ? L"" : L"\n") + L"(エラー " + hex + L")";
}

}  // namespace save_names

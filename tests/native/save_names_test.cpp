#include <gtest/gtest.h>

#include "core/paths.h"
#include "core/save_names.h"
#include "fold.h"

using save_names::RememberSaveFile;

namespace {
save_names::DialogChoice Result(wchar_t digit, const std::wstring& path,
                               const std::wstring& rest = std::wstring(5, L'\0')) {
  return save_names::DialogChoiceOf(static_cast<unsigned>(digit - L'0'), path + std::wstring(1, L'\0') + rest);
}
std::wstring MakeSaveFileName(const save_names::DialogChoice& choice) {
  return save_names::MakeSaveFileName(choice, AsciiFold);
}
}  // namespace

TEST(SaveFlow, FilterTextIsTwelveStringsJoinedByNul) {
  std::wstring text = save_names::FilterText(texts::Language::Japanese);
  std::wstring expected = std::wstring(L"BMPﾌｧｲﾙ(*.BMP)") + L'\0' + L"*.bmp" + L'\0' + L"GIFﾌｧｲﾙ(*.GIF)" + L'\0' + L"*.gif" +
                          L'\0' + L"JPEG(High)ﾌｧｲﾙ(*.JPG)" + L'\0' + L"*.jpg" + L'\0' + L"JPEG(Mid)ﾌｧｲﾙ(*.JPG)" + L'\0' +
                          L"*.jpg" + L'\0' + L"JPEG(Low)ﾌｧｲﾙ(*.JPG)" + L'\0' + L"*.jpg" + L'\0' + L"PNGﾌｧｲﾙ(*.PNG)" +
                          L'\0' + L"*.png";
  EXPECT_EQ(text, expected);
  EXPECT_EQ(save_names::TypeAt(3)->quality, 50);
  EXPECT_EQ(save_names::TypeAt(6), nullptr);
}

TEST(SaveFlow, FinalNameGetsTheExtensionOfItsType) {
  EXPECT_EQ(MakeSaveFileName(Result(L'4', L"C:\\caps\\shot")), L"C:\\caps\\shot.jpg");
  EXPECT_EQ(MakeSaveFileName(Result(L'6', L"C:\\caps\\shot.PNG")), L"C:\\caps\\shot.PNG");
  EXPECT_EQ(MakeSaveFileName(Result(L'1', L"C:\\caps\\shot.png")), L"C:\\caps\\shot.png.bmp");
  EXPECT_EQ(MakeSaveFileName(Result(L'3', L"C:\\photo.jpeg")), L"C:\\photo.jpeg.jpg");
  EXPECT_EQ(MakeSaveFileName(Result(L'2', L"a.gif")), L"a.gif");
  EXPECT_EQ(MakeSaveFileName(Result(L'2', L".gif")), L".gif.gif");  // four characters or fewer: no tail
  EXPECT_EQ(MakeSaveFileName(Result(L'7', L"C:\\x")), L"C:\\x");     // unknown type: unchanged
  // What a longer initial name left behind the terminating NUL is ignored.
  EXPECT_EQ(MakeSaveFileName(Result(L'5', L"C:\\a", L"ongername.bmp" + std::wstring(3, L'\0'))), L"C:\\a.jpg");
}

TEST(SaveFlow, RemembersNameAndFolder) {
  auto r = RememberSaveFile(L"C:\\caps\\shot.jpg");
  EXPECT_EQ(r.name, L"shot");
  EXPECT_EQ(r.folder, L"C:\\caps");
  r = RememberSaveFile(L"C:\\cap.bmp");
  EXPECT_EQ(r.name, L"cap");
  EXPECT_EQ(r.folder, L"C:");
  r = RememberSaveFile(L"C:\\caps\\shot.png.bmp");
  EXPECT_EQ(r.name, L"shot.png");
  r = RememberSaveFile(L"C:\\my.dir\\画像.png");
  EXPECT_EQ(r.name, L"画像");
  EXPECT_EQ(r.folder, L"C:\\my.dir");
  r = RememberSaveFile(L"noext");
  EXPECT_EQ(r.name, L"noext");
  EXPECT_EQ(r.folder, L"");
  EXPECT_EQ(save_names::FileNameOf(L"C:\\caps\\shot.png"), L"shot.png");
}

TEST(SaveFlow, TheDialogResultIsReadOnceIntoTypeAndPath) {
  auto c = save_names::DialogChoiceOf(4, std::wstring(L"C:\\caps\\shot") + L'\0' + L"leftover");
  EXPECT_EQ(c.type, 3);  // JPEG(Mid)
  EXPECT_EQ(c.path, L"C:\\caps\\shot");
  EXPECT_EQ(save_names::DialogChoiceOf(9, L"x").type, 8);  // no type of ours
}

TEST(Paths, LongFormForDrivesAndNetworkSharesAndShortNamesForTemporaryFiles) {
  const std::wstring folder(250, L'f');
  EXPECT_EQ(paths::LongForm(L"C:\\caps\\shot.png"), L"C:\\caps\\shot.png");
  EXPECT_EQ(paths::LongForm(L"C:\\" + folder), L"\\\\?\\C:\\" + folder);
  EXPECT_EQ(paths::LongForm(L"\\\\server\\share\\" + folder), L"\\\\?\\UNC\\server\\share\\" + folder);
  EXPECT_EQ(paths::LongForm(L"\\\\?\\C:\\" + folder), L"\\\\?\\C:\\" + folder);
  EXPECT_EQ(paths::TemporaryName(L's', 0x12345, 0), L"~ks2345.tmp");
  EXPECT_EQ(paths::TemporaryName(L'q', 0x12345, 1), L"~kq4234.tmp");  // 0x2345 + 7919
}

#include <gtest/gtest.h>

#include "core/save_names.h"
#include "fold.h"

using save_names::RememberSaveFile;

namespace {
std::wstring Result(wchar_t digit, const std::wstring& path, const std::wstring& rest = std::wstring(5, L'\0')) {
  return std::wstring(1, digit) + path + std::wstring(1, L'\0') + rest;
}
std::wstring MakeSaveFileName(const std::wstring& result) {
  return save_names::MakeSaveFileName(*save_names::ParseDialogResult(result), AsciiFold);
}
}  // namespace

TEST(SaveFlow, FilterTextIsTwelveStringsJoinedByNul) {
  std::wstring text = save_names::FilterText();
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
  EXPECT_FALSE(save_names::ParseDialogResult(L""));  // Cancel
  auto c = save_names::ParseDialogResult(std::wstring(L"4C:\\caps\\shot") + L'\0' + L"leftover");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->type, 3);  // JPEG(Mid)
  EXPECT_EQ(c->path, L"C:\\caps\\shot");
  EXPECT_EQ(save_names::ParseDialogResult(L"9x")->type, 8);  // no type of ours
}

// Settings file access through the real profile API, in code page 932.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shape/mod_RGN_Proc.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"

namespace uf = mod_RGN_UserFunction;

namespace {

class Profile : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileW(mod_RGN_Proc::IniFilePath().c_str()); }
  void TearDown() override { ::DeleteFileW(mod_RGN_Proc::IniFilePath().c_str()); }

  static std::string Raw() {
    std::ifstream in(std::filesystem::path(mod_RGN_Proc::IniFilePath()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void SetRaw(const std::string& bytes) {
    std::ofstream out(std::filesystem::path(mod_RGN_Proc::IniFilePath()), std::ios::binary);
    out << bytes;
  }
};

}  // namespace

TEST_F(Profile, LivesBesideTheExecutable) {
  EXPECT_EQ(mod_RGN_Proc::IniFilePath(), tk::App::Path() + L"\\" + tk::App::EXEName() + L".ini");
  EXPECT_EQ(tk::App::EXEName(), L"win32_tests");
}

TEST_F(Profile, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(uf::ReadIni(L"Data", L"X"), L"");
  uf::WriteIni(L"Other", L"X", L"1");
  EXPECT_EQ(uf::ReadIni(L"Data", L"X"), L"");
  uf::WriteIni(L"Data", L"Y", L"2");
  EXPECT_EQ(uf::ReadIni(L"Data", L"X"), L"");
  EXPECT_EQ(uf::ReadIni(L"Data", L"Y"), L"2");
}

TEST_F(Profile, WritesPlainLinesAndRemovesNeverAssignedTexts) {
  uf::WriteIni(L"Data", L"X", L"9390");
  uf::WriteIni(L"Data", L"LFName", std::nullopt);
  uf::WriteIni(L"Data", L"LFPath", L"");
  uf::WriteIni(L"Data", L"Y", L"-15");
  EXPECT_EQ(Raw(), "[Data]\r\nX=9390\r\nLFPath=\r\nY=-15\r\n");
  EXPECT_EQ(uf::ReadIni(L"Data", L"LFName"), L"");
  EXPECT_EQ(uf::ReadIni(L"Data", L"LFPath"), L"");

  uf::WriteIni(L"Data", L"X", std::nullopt);  // an existing key goes too
  EXPECT_EQ(Raw(), "[Data]\r\nLFPath=\r\nY=-15\r\n");
  uf::WriteIni(L"Data", L"Y", L"30");  // replaced in place
  EXPECT_EQ(Raw(), "[Data]\r\nLFPath=\r\nY=30\r\n");
}

TEST_F(Profile, SpacesAroundAValueAreTrimmedInsideKept) {
  SetRaw("[Data]\r\nA=   a  b   \r\nB=\r\n");
  EXPECT_EQ(uf::ReadIni(L"Data", L"A"), L"a  b");
  EXPECT_EQ(uf::ReadIni(L"Data", L"B"), L"");
}

TEST_F(Profile, LongValuesComeBackCutTo510Bytes) {
  uf::WriteIni(L"Data", L"Long", std::wstring(600, L'x'));
  EXPECT_EQ(uf::ReadIni(L"Data", L"Long"), std::wstring(510, L'x'));
  uf::WriteIni(L"Data", L"Edge", std::wstring(509, L'y'));
  EXPECT_EQ(uf::ReadIni(L"Data", L"Edge").size(), 509u);
}

TEST_F(Profile, JapaneseTextIsStoredInTheAnsiCodePage) {
  ASSERT_EQ(::GetACP(), 932u) << "the tests run with a Japanese locale";
  const std::wstring name = L"画像フォルダ\\ｷｬﾌﾟﾁｬ";
  uf::WriteIni(L"Data", L"LFPath", name);
  EXPECT_EQ(uf::ReadIni(L"Data", L"LFPath"), name);
  std::string expected = "[Data]\r\nLFPath=" + tk::ToAnsi(name) + "\r\n";
  EXPECT_EQ(Raw(), expected);
  EXPECT_EQ(tk::ToAnsi(L"画").size(), 2u);  // double-byte, not UTF-8
}

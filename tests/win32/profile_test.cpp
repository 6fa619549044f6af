// Settings file access through the real profile API, in code page 932.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "win/module.h"
#include "win/profile.h"

namespace {

std::wstring Read(const std::wstring& section, const std::wstring& key) {
  return win::ReadProfile(win::SettingsFilePath(), section, key);
}
void Write(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) {
  win::WriteProfile(win::SettingsFilePath(), section, key, value);
}
std::string ToAnsi(const std::wstring& s) {
  std::string out(s.size() * 2, '\0');
  out.resize(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(),
                                                            static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

class Profile : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileW(win::SettingsFilePath().c_str()); }
  void TearDown() override { ::DeleteFileW(win::SettingsFilePath().c_str()); }

  static std::string Raw() {
    std::ifstream in(std::filesystem::path(win::SettingsFilePath()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void SetRaw(const std::string& bytes) {
    std::ofstream out(std::filesystem::path(win::SettingsFilePath()), std::ios::binary);
    out << bytes;
  }
};

}  // namespace

TEST_F(Profile, LivesBesideTheExecutable) {
  EXPECT_EQ(win::SettingsFilePath(), win::ExeFolder() + L"\\" + win::ExeBaseName() + L".ini");
  EXPECT_EQ(win::ExeBaseName(), L"win32_tests");
}

TEST_F(Profile, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(Read(L"Data", L"X"), L"");
  Write(L"Other", L"X", L"1");
  EXPECT_EQ(Read(L"Data", L"X"), L"");
  Write(L"Data", L"Y", L"2");
  EXPECT_EQ(Read(L"Data", L"X"), L"");
  EXPECT_EQ(Read(L"Data", L"Y"), L"2");
}

TEST_F(Profile, WritesPlainLinesAndRemovesNeverAssignedTexts) {
  Write(L"Data", L"X", L"9390");
  Write(L"Data", L"LFName", std::nullopt);
  Write(L"Data", L"LFPath", L"");
  Write(L"Data", L"Y", L"-15");
  EXPECT_EQ(Raw(), "[Data]\r\nX=9390\r\nLFPath=\r\nY=-15\r\n");
  EXPECT_EQ(Read(L"Data", L"LFName"), L"");
  EXPECT_EQ(Read(L"Data", L"LFPath"), L"");

  Write(L"Data", L"X", std::nullopt);  // an existing key goes too
  EXPECT_EQ(Raw(), "[Data]\r\nLFPath=\r\nY=-15\r\n");
  Write(L"Data", L"Y", L"30");  // replaced in place
  EXPECT_EQ(Raw(), "[Data]\r\nLFPath=\r\nY=30\r\n");
}

TEST_F(Profile, SpacesAroundAValueAreTrimmedInsideKept) {
  SetRaw("[Data]\r\nA=   a  b   \r\nB=\r\n");
  EXPECT_EQ(Read(L"Data", L"A"), L"a  b");
  EXPECT_EQ(Read(L"Data", L"B"), L"");
}

TEST_F(Profile, LongValuesComeBackCutTo510Bytes) {
  Write(L"Data", L"Long", std::wstring(600, L'x'));
  EXPECT_EQ(Read(L"Data", L"Long"), std::wstring(510, L'x'));
  Write(L"Data", L"Edge", std::wstring(509, L'y'));
  EXPECT_EQ(Read(L"Data", L"Edge").size(), 509u);
}

TEST_F(Profile, JapaneseTextIsStoredInTheAnsiCodePage) {
  ASSERT_EQ(::GetACP(), 932u) << "the tests run with a Japanese locale";
  const std::wstring name = L"画像フォルダ\\ｷｬﾌﾟﾁｬ";
  Write(L"Data", L"LFPath", name);
  EXPECT_EQ(Read(L"Data", L"LFPath"), name);
  std::string expected = "[Data]\r\nLFPath=" + ToAnsi(name) + "\r\n";
  EXPECT_EQ(Raw(), expected);
  EXPECT_EQ(ToAnsi(L"画").size(), 2u);  // double-byte, not UTF-8
}

// Handing a command to a Kirasoe that runs: the command window is found by
// the exe's path, answers what it is handed, and reads only whole messages
// of ours.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/command_port.h"
#include "app/command_runner.h"
#include "core/settings_store.h"
#include "win/instance_link.h"

namespace {

class NoFile : public settings::File {
 public:
  std::wstring Read(const std::wstring&, const std::wstring&) override { return {}; }
  bool Write(const std::wstring&, const std::wstring&, const settings::Text&) override { return false; }
};

class NoOwner : public win::Window {};

std::optional<win::instance::Received> ReadCopy(ULONG_PTR kind, const void* data, DWORD bytes) {
  COPYDATASTRUCT copy{kind, bytes, const_cast<void*>(data)};
  return win::instance::Read(0, reinterpret_cast<LPARAM>(&copy));
}

}  // namespace

TEST(Instance, OnlyWholeTextsOfOursAreRead) {
  const wchar_t good[] = L"/capture\0/out:a.png";
  const auto read = ReadCopy(0x4B490001, good, sizeof good);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->kind, win::instance::Kind::Command);
  EXPECT_EQ(read->fields, (std::vector<std::wstring>{L"/capture", L"/out:a.png"}));
  EXPECT_FALSE(ReadCopy(0x12345678, good, sizeof good));     // another program's
  EXPECT_FALSE(ReadCopy(0x4B490001, good, sizeof good - 1));  // half a character
  EXPECT_FALSE(ReadCopy(0x4B490001, good, sizeof good - 2));  // no NUL at the end
  EXPECT_FALSE(ReadCopy(0x4B490001, nullptr, 0));
  EXPECT_FALSE(win::instance::Read(0, 0));
}

TEST(Instance, TheCommandWindowIsFoundAnswersAndIsGoneAfterItsClose) {
  NoFile file;
  settings::Store store{file};
  ActivityState activity;
  const CaptureArea frame;
  NoOwner owner;
  CommandRunner runner({activity, store, frame, nullptr, owner});
  const auto no = [] { return false; };
  CommandPort port({runner, no, no, no, {}});
  ASSERT_EQ(win::instance::Find(), nullptr);
  ASSERT_TRUE(port.Open());
  HWND found = win::instance::Find();
  EXPECT_EQ(found, port.hwnd());
  // No camera here: a second start would start one.
  EXPECT_FALSE(win::instance::AskToFront(found));
  const auto stopped = win::instance::HandOver(found, {L"/stop"});
  ASSERT_TRUE(stopped.has_value());
  EXPECT_EQ(stopped->code, 0);
  const auto wrong = win::instance::HandOver(found, {L"/capture", L"/bogus"});
  ASSERT_TRUE(wrong.has_value());
  EXPECT_EQ(wrong->code, 2);
  EXPECT_EQ(wrong->err, L"unknown switch: /bogus\n");
  // Without a frame, and without /area, there is nothing to capture.
  const auto nothing = win::instance::HandOver(found, {L"/capture", L"/out:C:\\x.png"});
  ASSERT_TRUE(nothing.has_value());
  EXPECT_EQ(nothing->code, 1);
  EXPECT_EQ(nothing->err, L"no frame is set: give /area\n");
  port.Close();
  EXPECT_EQ(win::instance::Find(), nullptr);
  EXPECT_FALSE(win::instance::HandOver(found, {L"/stop"}).has_value());
}

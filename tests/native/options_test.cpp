#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/options.h"

using options::KeyCombo;

TEST(Options, KeyNamesReadBackAsTheSameCombination) {
  EXPECT_EQ(options::KeyName({options::kShift, 0x2C}), L"Shift+PrintScreen");
  EXPECT_EQ(options::KeyName({options::kControl | options::kShift, 0x2C}), L"Ctrl+Shift+PrintScreen");
  EXPECT_EQ(options::KeyName({options::kControl | options::kAlt, 'P'}), L"Ctrl+Alt+P");
  EXPECT_EQ(options::KeyName({options::kWin | options::kShift, 0x7B}), L"Shift+Win+F12");
  EXPECT_EQ(options::KeyName({0, 0x6B}), L"Num+");
  EXPECT_EQ(options::KeyName({options::kAlt, 0xBA}), L"Alt+VK_BA");
  EXPECT_EQ(options::KeyName({}), L"none");
  for (const KeyCombo combo : {KeyCombo{options::kControl, 0x6B}, KeyCombo{options::kAlt, 0xBA},
                               KeyCombo{options::kWin, 0x87}, KeyCombo{options::kShift, '7'}, KeyCombo{0, 0x65}})
    EXPECT_EQ(options::ParseKeyName(options::KeyName(combo)), combo);
}

TEST(Options, HandWrittenNamesAreReadKindlyAndNonsenseIsRefused) {
  EXPECT_EQ(options::ParseKeyName(L" ctrl + alt + p "), (KeyCombo{options::kControl | options::kAlt, 'P'}));
  EXPECT_EQ(options::ParseKeyName(L"NONE"), KeyCombo{});
  EXPECT_EQ(options::ParseKeyName(L"f24"), (KeyCombo{0, 0x87}));
  for (const wchar_t* bad : {L"", L"Ctrl+", L"+", L"Ctrl+Ctrl+P", L"Shift+Ctrl", L"F25", L"F0", L"Hyper+P",
                             L"VK_00", L"VK_XYZ", L"PP", L"Ｐ"})
    EXPECT_EQ(options::ParseKeyName(bad), std::nullopt) << static_cast<int>(bad[0]);
}

TEST(Options, TheSectionKeepsTheDefaultsForWhatIsMissingOrUnreadable) {
  std::map<std::wstring, std::wstring> file;
  auto read = [&](const std::wstring& key) { return file.count(key) ? file[key] : L""; };
  const options::Options defaults = options::Read(read);
  EXPECT_FALSE(defaults.pointer);
  EXPECT_EQ(defaults.keys[options::kCaptureKey], (KeyCombo{options::kShift, 0x2C}));
  EXPECT_EQ(defaults.keys[options::kQuickKey], (KeyCombo{options::kControl | options::kShift, 0x2C}));
  EXPECT_EQ(defaults.keys[options::kSelectCaptureKey], (KeyCombo{options::kControl, 0x2C}));
  EXPECT_TRUE(defaults.keys[options::kSelectKey].None());
  file = {{L"Pointer", L"1"}, {L"CaptureKey", L"Ctrl+Alt+P"}, {L"QuickKey", L"none"}, {L"SelectKey", L"Alt+S"},
          {L"EditAfterCapture", L"1"}};
  const options::Options read1 = options::Read(read);
  EXPECT_TRUE(read1.pointer);
  EXPECT_EQ(read1.keys[options::kCaptureKey], (KeyCombo{options::kControl | options::kAlt, 'P'}));
  EXPECT_TRUE(read1.keys[options::kQuickKey].None());
  EXPECT_EQ(read1.keys[options::kSelectKey], (KeyCombo{options::kAlt, 'S'}));
  using Write = std::pair<std::wstring, std::wstring>;
  EXPECT_EQ(options::Writes(read1), (std::vector<Write>{{L"Pointer", L"1"},
                                                         {L"CaptureKey", L"Ctrl+Alt+P"},
                                                         {L"QuickKey", L"none"},
                                                         {L"SelectCaptureKey", L"Ctrl+PrintScreen"},
                                                         {L"SelectKey", L"Alt+S"},
                                                         {L"EditAfterCapture", L"1"},
                                                         {L"Language", L"auto"}}));
  file = {{L"Pointer", L"yes"}, {L"CaptureKey", L"Ctrl+"}, {L"Language", L"fr"}};
  EXPECT_EQ(options::Read(read), defaults);
  file = {{L"Language", L"en"}};
  EXPECT_EQ(options::Read(read).language, texts::Choice::English);
}

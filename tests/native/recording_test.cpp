#include "core/recording.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>

namespace {

recording::Settings ReadFrom(const std::map<std::wstring, std::wstring>& keys) {
  return recording::Read([&](const std::wstring& key) {
    const auto it = keys.find(key);
    return it == keys.end() ? std::wstring() : it->second;
  });
}

TEST(Recording, SettingsReadBackAndHostileValuesGiveTheDefaults) {
  const recording::Settings defaults = ReadFrom({});
  EXPECT_EQ(defaults.framesPerSecond, 10);
  EXPECT_EQ(defaults.limitSeconds, 300);
  EXPECT_EQ(defaults.type, 0);
  const recording::Settings hostile = ReadFrom(
      {{L"FramesPerSecond", L"12"}, {L"LimitSeconds", L"301"}, {L"Type", L"2"}, {L"Folder", L"C:\\rec"}});
  EXPECT_EQ(hostile.framesPerSecond, 10);  // not one of the menu's rates
  EXPECT_EQ(hostile.limitSeconds, 300);
  EXPECT_EQ(hostile.type, 0);
  EXPECT_EQ(hostile.folder, L"C:\\rec");
  recording::Settings chosen;
  chosen.framesPerSecond = 30;
  chosen.limitSeconds = 4;
  chosen.folder = L"D:\\clips";
  chosen.name = L"bug";
  chosen.type = 1;
  std::map<std::wstring, std::wstring> file;
  for (const auto& [key, value] : recording::Writes(chosen)) file[key] = value;
  EXPECT_EQ(ReadFrom(file), chosen);
}

TEST(Recording, FramesAreDueFromTheStartWithoutDrift) {
  const recording::Clock fifteen(15);
  EXPECT_EQ(fifteen.DueAt(1), 66);
  EXPECT_EQ(fifteen.DueAt(2), 133);
  EXPECT_EQ(fifteen.DueAt(15), 1000);
  EXPECT_EQ(fifteen.DueAt(4500), 300000);
  EXPECT_EQ(fifteen.FrameAt(65), 0);
  EXPECT_EQ(fifteen.FrameAt(67), 1);
  EXPECT_EQ(fifteen.FrameAt(1000), 15);
}

TEST(Recording, TheLabelShowsMinutesSecondsAndFrames) {
  EXPECT_EQ(recording::LabelText(7900, 70, texts::Language::Japanese), L"● 00:07 70コマ");
  EXPECT_EQ(recording::LabelText(300000, 3000, texts::Language::Japanese), L"● 05:00 3000コマ");
  EXPECT_EQ(recording::FilterText(texts::Language::Japanese), std::wstring(L"GIF アニメーション (*.gif)\0*.gif\0APNG (*.png)\0*.png\0", 45));
}

TEST(Recording, TheTypesExtensionIsAddedUnlessThePathEndsInIt) {
  const auto upper = [](std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
  };
  EXPECT_EQ(recording::SavePath(L"C:\\a\\clip", recording::kTypes[0], upper), L"C:\\a\\clip.gif");
  EXPECT_EQ(recording::SavePath(L"C:\\a\\clip.GIF", recording::kTypes[0], upper), L"C:\\a\\clip.GIF");
  EXPECT_EQ(recording::SavePath(L"C:\\a\\clip.gif", recording::kTypes[1], upper), L"C:\\a\\clip.gif.png");
  EXPECT_EQ(recording::SavePath(L".png", recording::kTypes[1], upper), L".png.png");
}

}  // namespace

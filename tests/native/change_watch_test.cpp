#include "core/change_watch.h"

#include <gtest/gtest.h>

#include <map>

using change_watch::SettleClock;
using change_watch::Verdict;

TEST(ChangeWatch, SettingsFileValuesOutOfReachReadAsTheirDefaults) {
  const std::map<std::wstring, std::wstring> hostile{
      {L"SettleMs", L"-5"}, {L"MinChangedPixels", L"abc"}, {L"MinChangedPerMille", L"99999999999"},
      {L"Interval", L"7"}};
  auto read = [&](const std::map<std::wstring, std::wstring>& file) {
    return change_watch::Read([&](const std::wstring& key) {
      auto it = file.find(key);
      return it == file.end() ? std::wstring() : it->second;
    });
  };
  EXPECT_EQ(read(hostile), change_watch::Settings{});
  const auto s = read({{L"SettleMs", L"1500"}, {L"MinChangedPixels", L"64"}, {L"Interval", L"60"},
                       {L"MinChangedPerMille", L"2.5"}});
  EXPECT_EQ(s.settleMs, 1500);
  EXPECT_EQ(s.minChangedPixels, 64);
  EXPECT_EQ(s.intervalSeconds, 60);
  EXPECT_EQ(s.minChangedPerMille, 10);  // a fraction is no whole number
}

TEST(ChangeWatch, ChangedPixelsLeaveOutOurOwnWindowsAndAlpha) {
  // 4 x 3; the right column is under a window of ours.
  std::uint32_t a[12] = {}, b[12] = {};
  b[1] = 0x00FF0000;  // (1, 0) red
  b[3] = 0x00FFFFFF;  // (3, 0) under the window
  b[5] = 0xFF000000;  // (1, 1) alpha only: the screen has none
  b[10] = 1;          // (2, 2)
  EXPECT_EQ(change_watch::ChangedPixels(a, b, 4, 3, {{3, 0, 4, 3}}), 2u);
  EXPECT_EQ(change_watch::ChangedPixels(a, b, 4, 3, {}), 3u);
}

TEST(ChangeWatch, ACaretAClockOrASpinnerIsNoChangeASlideIs) {
  const change_watch::Settings s;
  // 400 x 300: the share (1,200) is above the 400 pixels.
  EXPECT_FALSE(change_watch::Significant(2 * 16, 400, 300, s));   // a caret
  EXPECT_FALSE(change_watch::Significant(16 * 16, 400, 300, s));  // a spinner
  EXPECT_FALSE(change_watch::Significant(1199, 400, 300, s));
  EXPECT_TRUE(change_watch::Significant(1200, 400, 300, s));
  // 100 x 50: at least the 400 pixels.
  EXPECT_FALSE(change_watch::Significant(399, 100, 50, s));
  EXPECT_TRUE(change_watch::Significant(400, 100, 50, s));
}

TEST(ChangeWatch, OurWindowsOverTheAreaAreIgnoredAndNothingElse) {
  const auto ignored = change_watch::Ignored({100, 100, 300, 200}, {{90, 90, 130, 120}, {400, 0, 500, 50}});
  EXPECT_EQ(ignored, (std::vector<geometry::Rect>{{0, 0, 30, 20}}));
}

TEST(ChangeWatch, APictureOnceTheChangeHasBeenStillForTheSettleTime) {
  SettleClock settle(1000);
  EXPECT_EQ(settle.Sample(0, false, false), Verdict::Still);
  // A cross-fade: changing at every sample until 750.
  EXPECT_EQ(settle.Sample(250, true, true), Verdict::Changing);
  EXPECT_EQ(settle.Sample(500, true, true), Verdict::Changing);
  EXPECT_EQ(settle.Sample(750, true, true), Verdict::Changing);
  EXPECT_EQ(settle.Sample(1500, true, false), Verdict::Changing);
  EXPECT_EQ(settle.Sample(1750, true, false), Verdict::TakePicture);
  // Gone back to the picture saved before it settled: nothing.
  SettleClock back(1000);
  EXPECT_EQ(back.Sample(250, true, true), Verdict::Changing);
  EXPECT_EQ(back.Sample(500, false, true), Verdict::Still);
  EXPECT_EQ(back.Sample(2000, false, false), Verdict::Still);
}

TEST(ChangeWatch, BigAreasAreSampledMoreRarely) {
  EXPECT_EQ(change_watch::SampleIntervalMs(800, 600), 250);
  EXPECT_EQ(change_watch::SampleIntervalMs(1920, 1080), 333);
  EXPECT_EQ(change_watch::SampleIntervalMs(3840, 2160), 500);
}

#include <gtest/gtest.h>

#include <map>

#include "core/frame_tools.h"
#include "core/kept_frames.h"

using geometry::Rect;
using geometry::RectAt;

namespace {

// A main monitor of 1280 x 1024 and one of 1024 x 768 left of it.
const std::vector<Rect> kMonitors{{0, 0, 1280, 1024}, {-1024, 0, 0, 768}};

std::variant<Rect, frame_tools::Refusal> Typed(const wchar_t* x, const wchar_t* y, const wchar_t* w, const wchar_t* h) {
  return frame_tools::CheckTyped({x, y, w, h}, kMonitors, texts::Language::Japanese);
}

int RefusedField(const std::variant<Rect, frame_tools::Refusal>& result) {
  return std::holds_alternative<frame_tools::Refusal>(result) ? std::get<frame_tools::Refusal>(result).field : -1;
}

}  // namespace

TEST(FrameTools, TypedValuesGiveTheFrameInPixels) {
  EXPECT_EQ(std::get<Rect>(Typed(L"203", L"121", L"101", L"57")), (Rect{203, 121, 304, 178}));
  // Spaces and a sign are fine; a monitor left of the main one has negative X.
  EXPECT_EQ(std::get<Rect>(Typed(L" -500 ", L"+10", L"10", L"10")), (Rect{-500, 10, -490, 20}));
  // One pixel on a monitor is enough.
  EXPECT_EQ(std::get<Rect>(Typed(L"1279", L"1023", L"640", L"480")), (Rect{1279, 1023, 1919, 1503}));
}

TEST(FrameTools, RefusedValuesNameTheirField) {
  EXPECT_EQ(RefusedField(Typed(L"1.5", L"0", L"100", L"100")), frame_tools::kX);
  EXPECT_EQ(RefusedField(Typed(L"0", L"", L"100", L"100")), frame_tools::kY);
  EXPECT_EQ(RefusedField(Typed(L"0", L"0", L"9", L"100")), frame_tools::kWidth);
  EXPECT_EQ(RefusedField(Typed(L"0", L"0", L"100", L"１００")), frame_tools::kHeight);  // full-width digits
  EXPECT_EQ(RefusedField(Typed(L"0", L"0", L"32768", L"100")), frame_tools::kWidth);
  EXPECT_EQ(RefusedField(Typed(L"0", L"0", L"99999999999", L"100")), frame_tools::kWidth);
  EXPECT_EQ(RefusedField(Typed(L"0", L"0", L"- 5", L"100")), frame_tools::kWidth);
  const auto width = std::get<frame_tools::Refusal>(Typed(L"0", L"0", L"abc", L"100"));
  EXPECT_EQ(width.message, L"「幅」には10から32767までの整数を入力してください。");
  // Below the left monitor, and right of the main one: no pixel shows.
  EXPECT_EQ(RefusedField(Typed(L"-600", L"768", L"100", L"100")), frame_tools::kX);
  EXPECT_EQ(RefusedField(Typed(L"1280", L"0", L"100", L"100")), frame_tools::kX);
  EXPECT_EQ(RefusedField(Typed(L"-1124", L"0", L"100", L"100")), frame_tools::kX);
}

TEST(FrameTools, PresetsKeepTheTopLeftCorner) {
  const Rect frame{-300, 40, -100, 90};
  EXPECT_EQ(frame_tools::WithSize(frame, frame_tools::kPresets[3]), (Rect{-300, 40, 980, 760}));
  EXPECT_EQ(frame_tools::PresetText(frame_tools::kPresets[0]), L"640 × 480");
  EXPECT_EQ(frame_tools::PresetText(frame_tools::kPresets[4]), L"1920 × 1080");
}

TEST(FrameTools, PickedRectanglesGrowToTheMinimumAroundTheirCentre) {
  EXPECT_EQ(frame_tools::FitPicked({100, 200, 300, 260}), (Rect{100, 200, 300, 260}));
  EXPECT_EQ(frame_tools::FitPicked({100, 200, 104, 201}), (Rect{97, 196, 107, 206}));
  EXPECT_EQ(frame_tools::FitPicked({50, 50, 50, 50}), (Rect{45, 45, 55, 55}));
}

TEST(FrameTools, CountdownShowsWholeSecondsLeft) {
  EXPECT_EQ(frame_tools::SecondsLeft(3000), 3);
  EXPECT_EQ(frame_tools::SecondsLeft(2001), 3);
  EXPECT_EQ(frame_tools::SecondsLeft(2000), 2);
  EXPECT_EQ(frame_tools::SecondsLeft(1), 1);
  EXPECT_EQ(frame_tools::SecondsLeft(0), 0);
  EXPECT_EQ(frame_tools::SecondsLeft(-40), 0);
}

TEST(KeptFrames, NamesAreTrimmedAndChecked) {
  EXPECT_EQ(kept_frames::UsableName(L"  動画 720p　"), L"動画 720p");
  EXPECT_EQ(kept_frames::UsableName(L"   "), std::nullopt);
  EXPECT_EQ(kept_frames::UsableName(L"a\tb"), std::nullopt);
  EXPECT_EQ(kept_frames::UsableName(std::wstring(64, L'x')), std::wstring(64, L'x'));
  EXPECT_EQ(kept_frames::UsableName(std::wstring(65, L'x')), std::nullopt);
  EXPECT_EQ(kept_frames::MenuText(L"A&B"), L"A&&B");
}

TEST(KeptFrames, ASameNameReplacesAndTheListHoldsTwenty) {
  kept_frames::List list;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(kept_frames::Keep(list, {L"n" + std::to_wstring(i), RectAt(i, 0, 10, 10), {}}));
  EXPECT_FALSE(kept_frames::Keep(list, {L"one more", RectAt(0, 0, 10, 10), {}}));
  EXPECT_TRUE(kept_frames::Keep(list, {L"n3", RectAt(7, 8, 90, 60), {}}));
  ASSERT_EQ(list.size(), 20u);
  EXPECT_EQ(list[3], (kept_frames::KeptFrame{L"n3", {7, 8, 97, 68}, {}}));
  EXPECT_EQ(kept_frames::IndexOf(list, L"n19"), 19);
  EXPECT_EQ(kept_frames::IndexOf(list, L"N19"), -1);
}

TEST(KeptFrames, NamesOfAnyScriptAreWrittenInAscii) {
  EXPECT_EQ(kept_frames::EncodeName(L"A b%"), "A%20b%25");
  EXPECT_EQ(kept_frames::EncodeName(L"撮影"), "%E6%92%AE%E5%BD%B1");
  EXPECT_EQ(kept_frames::EncodeName(L"화면"), "%ED%99%94%EB%A9%B4");
  EXPECT_EQ(kept_frames::EncodeName(L"\U0001F4F7"), "%F0%9F%93%B7");
  EXPECT_EQ(kept_frames::DecodeName("%ED%99%94%EB%A9%B4"), L"화면");
  EXPECT_EQ(kept_frames::DecodeName("%F0%9F%93%B7"), L"\U0001F4F7");
  EXPECT_EQ(kept_frames::DecodeName("%E6%92"), std::nullopt);  // cut in the middle of a character
  EXPECT_EQ(kept_frames::DecodeName("%4"), std::nullopt);
  EXPECT_EQ(kept_frames::DecodeName("%zz"), std::nullopt);
}

TEST(KeptFrames, TheSectionRoundTripsAndSkipsWhatDoesNotRead) {
  const kept_frames::List list{{L"720p 撮影", {-10, 20, 1270, 740}, {}}, {L"화면 A&B", {0, 0, 10, 10}, {}}};
  const auto writes = kept_frames::Writes(list);
  ASSERT_EQ(writes.size(), 20u);
  EXPECT_EQ(writes[0].first, L"Frame1");
  EXPECT_EQ(writes[0].second, L"-10,20,1280,720,720p%20%E6%92%AE%E5%BD%B1");
  EXPECT_EQ(writes[1].second, L"0,0,10,10,%ED%99%94%EB%A9%B4%20A&B");
  EXPECT_EQ(writes[2].second, std::nullopt);
  std::map<std::wstring, std::wstring> file;
  for (const auto& [key, value] : writes)
    if (value) file[key] = *value;
  file[L"Frame3"] = L"1,2,9,40,too small";
  file[L"Frame4"] = L"1,2,40,40,";
  file[L"Frame5"] = L"1,2,40,40,%E6%92";
  file[L"Frame6"] = L"1,2,40,,x";
  file[L"Frame7"] = L"5,5,40,40,720p%20%E6%92%AE%E5%BD%B1";  // a name kept twice: the first stays
  file[L"Frame20"] = L"5,6,70,80,last";
  const auto read = kept_frames::Read([&](const std::wstring& key) { return file.count(key) ? file[key] : L""; });
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0], list[0]);
  EXPECT_EQ(read[1], list[1]);
  EXPECT_EQ(read[2], (kept_frames::KeptFrame{L"last", {5, 6, 75, 86}, {}}));
}

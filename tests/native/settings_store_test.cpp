#include "core/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// The file as section/key lines; every write is recorded in order.
struct FakeFile : settings::File {
  std::map<std::wstring, std::wstring> keys;  // "Section/Key"
  std::vector<std::wstring> written;
  std::wstring refuse;  // a "Section/Key" that cannot be written

  std::wstring Read(const std::wstring& section, const std::wstring& key) override {
    auto it = keys.find(section + L"/" + key);
    return it == keys.end() ? L"" : it->second;
  }
  bool Write(const std::wstring& section, const std::wstring& key, const settings::Text& value) override {
    if (section + L"/" + key == refuse) return false;
    written.push_back(section + L"/" + key + L"=" + value.value_or(L"(removed)"));
    return true;
  }
};

}  // namespace

TEST(SettingsStore, UntouchedFramesAndOptionsAreLeftAsTheyWere) {
  FakeFile file;
  file.keys = {{L"Data/X", L"600"}, {L"Data/Y", L"450"}, {L"Data/LineC", L"2"},
               {L"Frames/Frame1", L"10,20,300,200,wide"}, {L"Options/Pointer", L"1"}};
  settings::Store store(file);
  ASSERT_TRUE(store.Read());
  EXPECT_EQ(store.data.lineColour, 2);
  ASSERT_EQ(store.kept.size(), 1u);
  EXPECT_EQ(store.kept[0].name, L"wide");
  EXPECT_TRUE(store.options.pointer);
  ASSERT_TRUE(store.Write(std::nullopt));
  ASSERT_EQ(file.written.size(), 11u);  // "Data" only
  EXPECT_EQ(file.written.front(), L"Data/X=600");
  EXPECT_EQ(file.written.back(), L"Data/Preview=0");
}

TEST(SettingsStore, TheLanguageIsWrittenOnlyWhenItWasChanged) {
  FakeFile file;
  file.keys = {{L"Data/X", L"600"}, {L"Options/Language", L"ja"}};
  settings::Store store(file);
  store.Read();
  EXPECT_EQ(store.options.language, texts::Choice::Japanese);
  store.options.language = texts::Choice::Auto;
  ASSERT_TRUE(store.Write(std::nullopt));
  EXPECT_EQ(file.written.back(), L"Options/Language=auto");
}

TEST(SettingsStore, ChangedSectionsAndTheShownPreviewAreWrittenInOrder) {
  FakeFile file;
  settings::Store store(file);
  EXPECT_FALSE(store.Read());  // a first start
  store.options.pointer = true;
  store.kept.push_back({L"a", {1, 2, 41, 32}, {{{0, 0, 5, 5}, 0x000000}}});
  store.masks = {{{3, 4, 10, 12}, 0xFFFF00}};
  ASSERT_TRUE(store.Write(settings::Position{1500, 30}));
  std::vector<std::wstring> after;
  for (auto it = file.written.begin() + 11; it != file.written.end(); ++it)
    if (it->find(L"(removed)") == std::wstring::npos) after.push_back(*it);
  EXPECT_EQ(file.written.size() - 11 - after.size(), 3 * 19u) << "Frame2 to Frame20 removed, and their masks, Mask2 to Mask20";
  EXPECT_EQ(after, (std::vector<std::wstring>{L"Frames/Frame1=1,2,40,30,a", L"FrameMasks/Frame1=0,0,5,5,000000 a",
                                              L"Masks/Mask1=3,4,7,8,FFFF00", L"Options/Pointer=1",
                                              L"Options/CaptureKey=Shift+PrintScreen",
                                              L"Options/QuickKey=Ctrl+Shift+PrintScreen",
                                              L"Options/SelectCaptureKey=Ctrl+PrintScreen", L"Options/SelectKey=none",
                                              L"Options/EditAfterCapture=0", L"Data/X2=1500",
                                              L"Data/Y2=30"}));
}

TEST(SettingsStore, AKeyThatCannotBeWrittenStopsTheWriting) {
  FakeFile file;
  settings::Store store(file);
  store.Read();
  store.options.pointer = true;
  file.refuse = L"Data/SnapX";
  EXPECT_FALSE(store.Write(settings::Position{0, 0}));
  EXPECT_EQ(file.written, (std::vector<std::wstring>{L"Data/X=0", L"Data/Y=0"}));
}

TEST(SettingsStore, AKeptFramesMasksFindItByNameAndTheFramesMasksComeBack) {
  FakeFile file;
  file.keys = {{L"Data/X", L"600"},
               {L"Frames/Frame1", L"0,0,100,80,first"},
               {L"Frames/Frame3", L"5,5,50,40,%E7%AC%AC2"},
               // In another order than the frames, one of a frame no longer kept.
               {L"FrameMasks/Frame1", L"1,1,4,4,FF0000 %E7%AC%AC2"},
               {L"FrameMasks/Frame2", L"2,2,3,3,000000;x;9,9,1,1,0000FF first"},
               {L"FrameMasks/Frame3", L"2,2,3,3,000000 gone"},
               {L"Masks/Mask2", L"10,20,30,40,808080"}};
  settings::Store store(file);
  store.Read();
  ASSERT_EQ(store.kept.size(), 2u);
  EXPECT_EQ(store.kept[0].masks, (masks::List{{{2, 2, 5, 5}, 0x000000}, {{9, 9, 10, 10}, 0x0000FF}}));
  EXPECT_EQ(store.kept[1].name, L"第2");
  EXPECT_EQ(store.kept[1].masks, (masks::List{{{1, 1, 5, 5}, 0xFF0000}}));
  EXPECT_EQ(store.masks, (masks::List{{{10, 20, 40, 60}, 0x808080}}));
  ASSERT_TRUE(store.Write(std::nullopt));
  EXPECT_TRUE(std::none_of(file.written.begin(), file.written.end(),
                           [](const std::wstring& w) { return w.find(L"Mask") != std::wstring::npos; }))
      << "nothing changed, nothing written";
}

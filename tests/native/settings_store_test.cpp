#include "core/settings_store.h"

#include <gtest/gtest.h>

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
  store.kept.push_back({L"a", {1, 2, 41, 32}});
  ASSERT_TRUE(store.Write(settings::Position{1500, 30}));
  std::vector<std::wstring> after;
  for (auto it = file.written.begin() + 11; it != file.written.end(); ++it)
    if (it->find(L"(removed)") == std::wstring::npos) after.push_back(*it);
  EXPECT_EQ(file.written.size() - 11 - after.size(), 19u) << "Frame2 to Frame20 removed";
  EXPECT_EQ(after, (std::vector<std::wstring>{L"Frames/Frame1=1,2,40,30,a", L"Options/Pointer=1",
                                              L"Options/CaptureKey=Shift+PrintScreen",
                                              L"Options/QuickKey=Ctrl+Shift+PrintScreen",
                                              L"Options/SelectCaptureKey=Ctrl+PrintScreen", L"Options/SelectKey=none",
                                              L"Data/X2=1500",
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

#include <gtest/gtest.h>

#include <map>

#include "core/settings.h"

namespace {

// A profile in memory that records the order of reads.
struct FakeProfile {
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> reads;
  settings::Reader Reader() {
    return [this](const std::wstring& key) {
      reads.push_back(key);
      auto it = values.find(key);
      return it == values.end() ? std::wstring() : it->second;
    };
  }
};

FakeProfile Stored() {
  FakeProfile p;
  p.values = {{L"X", L"9390"},      {L"Y", L"7470"},      {L"SnapX", L"3000"},  {L"SnapY", L"1800"},
              {L"SnapW", L"1500"},  {L"SnapH", L"750"},   {L"LFName", L"shot"}, {L"LFPath", L"C:\\caps"},
              {L"LFType", L"3"},    {L"LineC", L"2"},     {L"Preview", L"1"}};
  return p;
}

}  // namespace

TEST(SettingsRead, StoredValuesInStartUpOrder) {
  auto p = Stored();
  auto s = settings::ReadStored(p.Reader());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->camera.left, 9390.0f);
  EXPECT_EQ(s->camera.top, 7470.0f);
  EXPECT_EQ(s->snap.x, 3000);
  EXPECT_EQ(s->snap.y, 1800);
  EXPECT_EQ(s->snap.w, 1500);
  EXPECT_EQ(s->snap.h, 750);
  EXPECT_EQ(s->lastName, L"shot");
  EXPECT_EQ(s->lastFolder, L"C:\\caps");
  EXPECT_EQ(s->lastType, 3.0f);
  EXPECT_EQ(s->lineColour, 2);
  EXPECT_TRUE(s->preview);
  std::vector<std::wstring> order{L"X",     L"X",     L"Y",     L"LFName", L"LFPath", L"LFType",
                                  L"LineC", L"SnapX", L"SnapY", L"SnapW",  L"SnapH",  L"Preview"};
  EXPECT_EQ(p.reads, order);
}

TEST(SettingsRead, EmptyXMeansNoSettingsEvenWithOtherKeys) {
  auto p = Stored();
  p.values[L"X"] = L"";
  EXPECT_FALSE(settings::ReadStored(p.Reader()));
  EXPECT_EQ(p.reads, std::vector<std::wstring>{L"X"});
}

TEST(SettingsRead, MissingKeysReadAsZeroAndEmptyText) {
  FakeProfile p;
  p.values = {{L"X", L"100"}};
  auto s = settings::ReadStored(p.Reader());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->snap.w, 0);
  EXPECT_EQ(s->snap.h, 0);
  EXPECT_EQ(s->lineColour, 0);
  // Read but empty: assigned, so written back as an empty value at exit.
  EXPECT_EQ(s->lastName, std::wstring());
  EXPECT_FALSE(s->preview);
}

TEST(SettingsRead, PreviewIsOnForAnyNonZeroNumber) {
  for (auto [text, on] : std::vector<std::pair<std::wstring, bool>>{
           {L"2", true}, {L"-1", true}, {L"0.5", true}, {L"0", false}, {L"yes", false}, {L"", false}, {L"1e999", false}}) {
    auto p = Stored();
    p.values[L"Preview"] = text;
    EXPECT_EQ(settings::ReadStored(p.Reader())->preview, on) << std::string(text.begin(), text.end());
  }
}

TEST(SettingsRead, IntegersRoundHalfToEven) {
  auto p = Stored();
  p.values[L"LineC"] = L"1.5";
  EXPECT_EQ(settings::ReadStored(p.Reader())->lineColour, 2);
  p.values[L"LineC"] = L"2.5";
  EXPECT_EQ(settings::ReadStored(p.Reader())->lineColour, 2);
}

// A hand-edited number that fits no 32-bit integer must not stop the program
// from starting: it reads as a missing key.
TEST(SettingsRead, OutOfRangeNumbersReadAsMissingKeys) {
  auto p = Stored();
  p.values[L"SnapX"] = L"12345678901";
  p.values[L"LFType"] = L"99999999999";
  p.values[L"Y"] = L"-1e12";
  auto s = settings::ReadStored(p.Reader());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->snap.x, 0);
  EXPECT_EQ(s->lastType, 0.0f);
  EXPECT_EQ(s->camera.top, 0.0f);
  EXPECT_EQ(s->snap.y, 1800);

  p.values[L"X"] = L"12345678901";  // "X" unusable: first-start defaults
  EXPECT_FALSE(settings::ReadStored(p.Reader()));
}

TEST(SettingsFirstStart, CentredAndFrameBesideTheWindow) {
  auto pos = settings::FirstStartPosition(19200, 420, 15645, 375);
  EXPECT_EQ(pos.left, 9390.0f);
  EXPECT_EQ(pos.top, 7635.0f);
  auto s = settings::FirstStartState(9390, 7635, 15, 15);
  EXPECT_EQ(s.lineColour, 1);
  EXPECT_EQ(s.snap.x, 9390 + 480);
  EXPECT_EQ(s.snap.y, 7635);
  EXPECT_EQ(s.snap.w, 480);
  EXPECT_EQ(s.snap.h, 480);
  EXPECT_FALSE(s.lastName);
  EXPECT_FALSE(s.lastFolder);
  EXPECT_FALSE(s.preview);
  auto s12 = settings::FirstStartState(7464, 6000, 12, 12);
  EXPECT_EQ(s12.snap.x, 7464 + 384);
  EXPECT_EQ(s12.snap.w, 384);
}

TEST(SettingsExit, ElevenKeysInOrderNeverAssignedNamesRemoved) {
  auto s = settings::FirstStartState(9390, 7635, 15, 15);
  auto writes = settings::ExitWrites(s);
  std::vector<std::wstring> keys;
  for (auto& w : writes) keys.push_back(w.first);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"X", L"Y", L"SnapX", L"SnapY", L"SnapW", L"SnapH", L"LFName", L"LFPath",
                                             L"LFType", L"LineC", L"Preview"}));
  EXPECT_EQ(writes[0].second, L"9390");
  EXPECT_EQ(writes[2].second, L"9870");
  EXPECT_FALSE(writes[6].second);  // removes the key
  EXPECT_FALSE(writes[7].second);
  EXPECT_EQ(writes[8].second, L"0");
  EXPECT_EQ(writes[9].second, L"1");
  EXPECT_EQ(writes[10].second, L"0");

  s.lastName = L"";
  s.preview = true;
  s.snap.x = -15;
  writes = settings::ExitWrites(s);
  EXPECT_EQ(writes[6].second, L"");  // assigned empty text: an empty value
  EXPECT_EQ(writes[10].second, L"1");
  EXPECT_EQ(writes[2].second, L"-15");
}

TEST(IniPath, BesideTheExecutableWithoutADoubledBackslash) {
  EXPECT_EQ(settings::IniFilePath(L"C:\\Tools\\Kirasoe", L"kirasoe"), L"C:\\Tools\\Kirasoe\\kirasoe.ini");
  EXPECT_EQ(settings::IniFilePath(L"D:\\", L"kirasoe"), L"D:\\kirasoe.ini");
}

TEST(IniPath, ProfileValuesAreCutAtNulAndTrimmedOfSpacesOnly) {
  EXPECT_EQ(settings::CleanProfileValue(std::wstring(L"  a b \0   junk", 14)), L"a b");
  EXPECT_EQ(settings::CleanProfileValue(L"\tx\t"), L"\tx\t");
  EXPECT_EQ(settings::CleanProfileValue(L"     "), L"");
}

TEST(Settings, PreviewPositionFollowsTheSameReadingRules) {
  FakeProfile none;
  none.values = {{L"X2", L"300"}, {L"Y2", L"450"}};  // no "X": no settings at all
  EXPECT_EQ(settings::ReadPreviewPosition(none.Reader()).left, 0.0f);
  FakeProfile p = Stored();
  p.values[L"X2"] = L" -1500 ";
  p.values[L"Y2"] = L"12345678901";  // does not fit: read as missing, as every other key
  auto pos = settings::ReadPreviewPosition(p.Reader());
  EXPECT_EQ(pos.left, -1500.0f);
  EXPECT_EQ(pos.top, 0.0f);
}

TEST(SettingsPositions, AWindowThatStayedKeepsTheTwipsItWasReadWith) {
  // 376 twips were written at 192 dpi; at 96 dpi they name pixel 25.
  const settings::Position read{376, -376};
  EXPECT_EQ(settings::KeptPosition(read, 25, -25, {15, 15}), read);
  EXPECT_EQ(settings::KeptPosition(read, 26, -25, {15, 15}), (settings::Position{390, -376}));
  // Positions are written in whole twips: a fraction from a hand-edited file is not kept.
  EXPECT_EQ(settings::KeptPosition({1.5f, 0}, 0, 0, {15, 15}), (settings::Position{0, 0}));
  // A first start on a 1280-pixel screen with a 28 x 25 camera: (626, 509).
  const settings::PixelPoint at = settings::FirstStartCamera(1280, 28, 1043, 25, {15, 15});
  EXPECT_EQ(at.x, 626);
  EXPECT_EQ(at.y, 509);
  EXPECT_EQ(settings::TypeIndex(5.0f), 5);
  EXPECT_EQ(settings::PreviewWrites({4500, -15}),
            (std::vector<std::pair<std::wstring, settings::Text>>{{L"X2", L"4500"}, {L"Y2", L"-15"}}));
}

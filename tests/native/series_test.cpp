#include <gtest/gtest.h>

#include <set>

#include "core/series.h"
#include "fold.h"

using series::ClaimNext;
using series::NextNumber;

TEST(QuickSave, TheFirstOfASeriesIs001) {
  EXPECT_EQ(NextNumber({}, L"shot", L".png", AsciiFold), 1);
  EXPECT_EQ(series::SeriesFileName(L"shot", 1, L".png"), L"shot_001.png");
}

TEST(QuickSave, NextIsOneMoreThanTheHighestInUseGapsStay) {
  // shot_002 was deleted: the series goes on after 003, never back to 002.
  EXPECT_EQ(NextNumber({L"shot_001.png", L"shot_003.png"}, L"shot", L".png", AsciiFold), 4);
  // Other extensions, other names and other shapes are not part of it.
  EXPECT_EQ(NextNumber({L"shot_007.jpg", L"shots_009.png", L"shot_x01.png", L"shot_.png", L"shot.png",
                        L"shot_001.png.bak", L"shot_002.png"},
                       L"shot", L".png", AsciiFold),
            3);
  EXPECT_EQ(NextNumber({L"SHOT_005.PNG"}, L"shot", L".png", AsciiFold), 6);  // as the file system compares
}

TEST(QuickSave, NamesWithDigitsOfTheirOwn) {
  EXPECT_EQ(NextNumber({L"page_12_001.png", L"page_12_002.png", L"page_12.png", L"page_13_009.png"}, L"page_12",
                       L".png", AsciiFold),
            3);
  EXPECT_EQ(series::SeriesNumber(L"2024_001.gif", L"2024", L".gif", AsciiFold), 1);
}

TEST(QuickSave, TheNumberGrowsPast999) {
  EXPECT_EQ(NextNumber({L"shot_999.png"}, L"shot", L".png", AsciiFold), 1000);
  EXPECT_EQ(series::SeriesFileName(L"shot", 1000, L".png"), L"shot_1000.png");
  EXPECT_EQ(NextNumber({L"shot_1000.png", L"shot_999.png"}, L"shot", L".png", AsciiFold), 1001);
}

TEST(QuickSave, ANameTakenMeanwhileMovesOnOtherFailuresStopAtOnce) {
  using series::Claim;
  std::set<std::wstring> onDisk{L"shot_001.png"};
  std::vector<std::wstring> listed(onDisk.begin(), onDisk.end());
  onDisk.insert(L"shot_002.png");  // another program wrote it after the folder was read
  int tries = 0;
  auto move = [&](const std::wstring& f) { return ++tries, onDisk.insert(f).second ? Claim::Done : Claim::Taken; };
  const series::ClaimResult done = ClaimNext(listed, L"shot", L".png", AsciiFold, move);
  EXPECT_EQ(done.file, L"shot_003.png");
  EXPECT_EQ(done.outcome, Claim::Done);
  EXPECT_EQ(tries, 2);
  // A folder that refuses writing is not a name taken: one try, and it says which.
  tries = 0;
  const series::ClaimResult refused =
      ClaimNext(listed, L"shot", L".png", AsciiFold, [&](const std::wstring&) { return ++tries, Claim::Failed; });
  EXPECT_EQ(refused.file, L"shot_002.png");
  EXPECT_EQ(refused.outcome, Claim::Failed);
  EXPECT_EQ(tries, 1);
  const series::ClaimResult full =
      ClaimNext({}, L"shot", L".png", AsciiFold, [](const std::wstring&) { return Claim::Taken; }, 5);
  EXPECT_EQ(full.file, L"shot_005.png");
  EXPECT_EQ(full.outcome, Claim::Taken);
}

TEST(QuickSave, ANameFromTheSettingsFileNeverReachesAnotherFolderOrFile) {
  for (const wchar_t* good : {L"shot", L"画像", L"..", L"a.b", L"CONSOLE", L"COM0", L"shot "})
    EXPECT_TRUE(series::UsableBaseName(good)) << good;
  for (const wchar_t* bad : {L"", L"..\\up", L"a/b", L"C:shot", L"shot:stream", L"a*b", L"a?b", L"a\"b", L"a<b",
                             L"a>b", L"a|b", L"tab\there", L"CON", L"nul.x", L"Com1", L"LPT9 .txt", L"AUX"})
    EXPECT_FALSE(series::UsableBaseName(bad)) << bad;
}

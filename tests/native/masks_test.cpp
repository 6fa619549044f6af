#include "core/masks.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using geometry::Rect;
using masks::Mask;

TEST(Masks, EveryPixelUnderAMaskTakesItsColourAndNoOtherChanges) {
  // 5 x 3 pixels, rows 6 pixels apart; a mask over columns 1-2 of rows 1-2.
  std::vector<std::uint32_t> pixels(6 * 3, 0x00123456);
  pixels[6 + 1] = 0xFF123456;  // a top byte is kept
  masks::Apply({{{1, 1, 3, 3}, 0x000000}}, pixels.data(), 5, 3, 6);
  EXPECT_EQ(pixels[6 + 1], 0xFF000000u);
  EXPECT_EQ(pixels[6 + 2], 0x00000000u);
  EXPECT_EQ(pixels[12 + 1], 0x00000000u);
  EXPECT_EQ(pixels[12 + 2], 0x00000000u);
  int unchanged = 0;
  for (std::uint32_t p : pixels) unchanged += p == 0x00123456;
  EXPECT_EQ(unchanged, 18 - 4);
  // A mask reaching past the picture covers only what is in it.
  masks::Apply({{{3, -2, 9, 1}, 0xFF0000}}, pixels.data(), 5, 3, 6);
  EXPECT_EQ(pixels[3], 0xFF0000u);
  EXPECT_EQ(pixels[4], 0xFF0000u);
  EXPECT_EQ(pixels[5], 0x00123456u) << "the row's padding is not the picture's";
}

TEST(Masks, AFrameThatShrinksClipsThemAndOneThatGrowsGetsThemBackWhole) {
  const masks::List kept{{{10, 10, 40, 30}, 0x0000FF}, {{60, 5, 80, 20}, 0x000000}};
  EXPECT_EQ(masks::Clipped(kept, 30, 100), (masks::List{{{10, 10, 30, 30}, 0x0000FF}}));
  EXPECT_EQ(masks::Clipped(kept, 100, 100), kept);
}

TEST(Masks, TheSectionKeepsThemInOrderAndLeavesOutWhatDoesNotRead) {
  std::map<std::wstring, std::wstring> file{{L"Mask1", L"10,20,30,40,FF8000"},
                                            {L"Mask2", L"1,2,0,4,000000"},   // no width
                                            {L"Mask3", L"1,2,3,4,00000"},    // five digits
                                            {L"Mask4", L"-1,2,3,4,000000"},  // outside the frame
                                            {L"Mask5", L"5,6,7,8,00ff00"}};
  const masks::List read = masks::Read([&](const std::wstring& key) { return file.count(key) ? file[key] : L""; });
  EXPECT_EQ(read, (masks::List{{{10, 20, 40, 60}, 0xFF8000}, {{5, 6, 12, 14}, 0x00FF00}}));
  const auto writes = masks::Writes(read);
  ASSERT_EQ(writes.size(), 20u);
  EXPECT_EQ(writes[0].second, L"10,20,30,40,FF8000");
  EXPECT_EQ(writes[1].second, L"5,6,7,8,00FF00");
  EXPECT_EQ(writes[2].first, L"Mask3");
  EXPECT_EQ(writes[2].second, std::nullopt);
}

TEST(Masks, TheHatchingLiesInsideTheMaskAlongItsEdge) {
  const Mask mask{{100, 50, 120, 70}, 0};
  const std::vector<Rect> hatch = masks::Hatching(mask);
  ASSERT_FALSE(hatch.empty());
  std::map<std::pair<int, int>, int> seen;
  for (const Rect& r : hatch) {
    EXPECT_TRUE(r.left >= 100 && r.right <= 120 && r.top >= 50 && r.bottom <= 70) << r.left << "," << r.top;
    for (int x = r.left; x < r.right; ++x) ++seen[{x, r.top}];
  }
  // Stripes 4 pixels wide, 8 apart, in a band 3 pixels deep: the first row
  // starts with pixels 0-3.
  EXPECT_EQ(seen.count({100, 50}), 1u);
  EXPECT_EQ(seen.count({103, 50}), 1u);
  EXPECT_EQ(seen.count({104, 50}), 0u);
  EXPECT_EQ(seen.count({110, 60}), 0u) << "the middle stays clear";
  EXPECT_EQ(seen.count({119, 57}), 1u);  // (19 + 7) % 8 = 2
}

TEST(Masks, AKeptFramesListReadsBackAndSkipsWhatDoesNotRead) {
  const masks::List list{{{1, 2, 4, 6}, 0x00FF00}, {{0, 0, 10, 10}, 0x000000}};
  EXPECT_EQ(masks::ListText(list), L"1,2,3,4,00FF00;0,0,10,10,000000");
  EXPECT_EQ(masks::ParseList(L"1,2,3,4,00FF00;x;0,0,10,10,000000"), list);
  EXPECT_TRUE(masks::ParseList(L"").empty());
}

#include <gtest/gtest.h>

#include "bmp_reader.h"
#include "shape/RegionMath.h"
#include "shape/mod_RGN_Data.h"

using mod_RGN_Data::ShapeRegions;

namespace {
const std::string kResources = KIRASOE_SOURCE_DIR "/resources/";
}

TEST(RegionTables, StoreIsZeroUntilLoadedThenHoldsBothOutlines) {
  for (const auto& slot : ShapeRegions)
    for (auto byte : slot) ASSERT_EQ(byte, 0);
  mod_RGN_Data::LoadShapeTables();
  auto h0 = mod_RGN_Data::ReadHeader(ShapeRegions[0]);
  EXPECT_EQ(h0.dwSize, 32u);
  EXPECT_EQ(h0.iType, 1u);
  EXPECT_EQ(h0.nCount, 9u);
  EXPECT_EQ(h0.nRgnSize, 144u);
  EXPECT_EQ(h0.bound, (region::Rect{1, 1, 27, 23}));
  EXPECT_EQ(region::Area(mod_RGN_Data::ReadRects(ShapeRegions[0])), 476);

  auto h1 = mod_RGN_Data::ReadHeader(ShapeRegions[1]);
  EXPECT_EQ(h1.nCount, 116u);
  EXPECT_EQ(h1.nRgnSize, 1856u);
  EXPECT_LE(h1.dwSize + h1.nRgnSize, 1904u);
  EXPECT_EQ(h1.bound, (region::Rect{1, 1, 32, 31}));
  auto rects1 = mod_RGN_Data::ReadRects(ShapeRegions[1]);
  EXPECT_EQ(region::Area(rects1), 466);
  for (std::size_t i = 0; i < rects1.size(); ++i) EXPECT_EQ(rects1[i].bottom - rects1[i].top, 1) << i;
  EXPECT_EQ(rects1.front().top, 1);
  EXPECT_EQ(rects1.back().top, 30);

  for (auto byte : ShapeRegions[2]) ASSERT_EQ(byte, 0);
  // Room beyond the rectangles in use stays zero.
  for (std::size_t i = 32 + 144; i < 1904; ++i) ASSERT_EQ(ShapeRegions[0][i], 0) << i;
}

TEST(RegionTables, CameraPictureCoversExactlyTheCameraOutline) {
  TestPicture cam = ReadBmp(kResources + "camera.bmp");
  ASSERT_EQ(cam.width, 28);
  ASSERT_EQ(cam.height, 25);
  const std::array<std::uint8_t, 3> magenta{255, 0, 255};
  auto rects = region::CanonicalRects(28, 25, [&](int x, int y) { return cam.At(x, y) != magenta; });
  EXPECT_EQ(rects, mod_RGN_Data::CameraRects());
}

TEST(RegionTables, FigurePictureMatchesTheFigureTable) {
  TestPicture fig = ReadBmp(kResources + "figure.bmp");
  ASSERT_EQ(fig.width, 32);
  ASSERT_EQ(fig.height, 32);
  const std::array<std::uint8_t, 3> black{0, 0, 0};
  auto rects = region::CanonicalRects(32, 32, [&](int x, int y) { return fig.At(x, y) == black; });
  EXPECT_EQ(rects, mod_RGN_Data::FigureRects());
}

TEST(RegionMath, MergesIdenticalRowsIntoBands) {
  // Rows 0-1 identical, row 2 different, row 3 empty, row 4 like rows 0-1.
  const char* rows[] = {"##.##", "##.##", ".###.", ".....", "##.##"};
  auto rects = region::CanonicalRects(5, 5, [&](int x, int y) { return rows[y][x] == '#'; });
  EXPECT_EQ(rects, (std::vector<region::Rect>{{0, 0, 2, 2}, {3, 0, 5, 2}, {1, 2, 4, 3}, {0, 4, 2, 5}, {3, 4, 5, 5}}));
}

#include <gtest/gtest.h>

#include "bmp_reader.h"
#include "core/outline.h"
#include "region_rects.h"

namespace {
const std::string kResources = KIRASOE_SOURCE_DIR "/resources/";
}

TEST(Outline, RegionDataHoldsHeaderAndRectangles) {
  const std::vector<std::uint8_t> data = outline::RegionData(outline::CameraRects());
  ASSERT_EQ(data.size(), 32u + 9u * 16u);
  auto at = [&](std::size_t i) {
    return static_cast<std::int32_t>(data[i] | data[i + 1] << 8 | data[i + 2] << 16 | data[i + 3] << 24);
  };
  EXPECT_EQ(at(0), 32);   // header size
  EXPECT_EQ(at(4), 1);    // rectangles
  EXPECT_EQ(at(8), 9);    // count
  EXPECT_EQ(at(12), 144);  // bytes of rectangles
  EXPECT_EQ((geometry::Rect{at(16), at(20), at(24), at(28)}), (geometry::Rect{1, 1, 27, 23}));
  EXPECT_EQ((geometry::Rect{at(32), at(36), at(40), at(44)}), (geometry::Rect{11, 1, 17, 2}));
  EXPECT_EQ(region::Area(outline::CameraRects()), 476);
  // Negative values are stored as two's complement, little-endian.
  const auto negative = outline::RegionData({{-2, -1, 3, 4}});
  EXPECT_EQ(negative[32], 0xFE);
  EXPECT_EQ(negative[35], 0xFF);
}

TEST(RegionTables, CameraPictureCoversExactlyTheCameraOutline) {
  TestPicture cam = ReadBmp(kResources + "camera.bmp");
  ASSERT_EQ(cam.width, 28);
  ASSERT_EQ(cam.height, 25);
  const std::array<std::uint8_t, 3> magenta{255, 0, 255};
  auto rects = region::CanonicalRects(28, 25, [&](int x, int y) { return cam.At(x, y) != magenta; });
  EXPECT_EQ(rects, outline::CameraRects());
}

TEST(RegionMath, MergesIdenticalRowsIntoBands) {
  // Rows 0-1 identical, row 2 different, row 3 empty, row 4 like rows 0-1.
  const char* rows[] = {"##.##", "##.##", ".###.", ".....", "##.##"};
  auto rects = region::CanonicalRects(5, 5, [&](int x, int y) { return rows[y][x] == '#'; });
  EXPECT_EQ(rects, (std::vector<region::Rect>{{0, 0, 2, 2}, {3, 0, 5, 2}, {1, 2, 4, 3}, {0, 4, 2, 5}, {3, 4, 5, 5}}));
}

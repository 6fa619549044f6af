// Window shapes through the real region calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <vector>

#include "app/camera_window.h"
#include "tests/tools/capture_rig.h"
#include "core/outline.h"
#include "win/region.h"

namespace {

std::vector<RECT> RegionRects(HRGN rgn) {
  DWORD size = ::GetRegionData(rgn, 0, nullptr);
  std::vector<char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  ::GetRegionData(rgn, size, data);
  auto* r = reinterpret_cast<RECT*>(data->Buffer);
  return std::vector<RECT>(r, r + data->rdh.nCount);
}

long Area(const std::vector<RECT>& rects) {
  long a = 0;
  for (const RECT& r : rects) a += (r.right - r.left) * (r.bottom - r.top);
  return a;
}

}  // namespace

TEST(Shapes, CameraOutlineRegion) {
  win::UniqueRgn rgn = win::RegionFromRects(outline::CameraRects());
  ASSERT_TRUE(rgn);
  RECT box;
  ::GetRgnBox(rgn.get(), &box);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ(box.right, 27);
  EXPECT_EQ(box.bottom, 23);
  EXPECT_EQ(Area(RegionRects(rgn.get())), 476);
  EXPECT_FALSE(::PtInRegion(rgn.get(), 0, 0));
  EXPECT_TRUE(::PtInRegion(rgn.get(), 1, 8));
  EXPECT_TRUE(::PtInRegion(rgn.get(), 26, 20));
  EXPECT_FALSE(::PtInRegion(rgn.get(), 27, 20));
  EXPECT_TRUE(::PtInRegion(rgn.get(), 11, 1));
  EXPECT_FALSE(::PtInRegion(rgn.get(), 10, 1));
  EXPECT_FALSE(win::RegionFromRects({}));  // no outline is no region
}

TEST(Shapes, TheCameraTakesItsSizeOutlineAndPicture) {
  QuietOwners owner;
  CameraWindow camera(owner);
  const int dpi = ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSX);
  // 420 x 375 twips: 28 x 25 pixels at 96 dpi, 35 x 31 at 120.
  const geometry::Rect size = dpi == 120 ? geometry::Rect{0, 0, 35, 31} : geometry::Rect{0, 0, 28, 25};
  ASSERT_TRUE(camera.Open(size));
  camera.Shape(size);
  EXPECT_EQ(camera.Bounds(), size);
  win::UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(camera.hwnd(), rgn.get()), ERROR);
  EXPECT_EQ(Area(RegionRects(rgn.get())), 476);
}

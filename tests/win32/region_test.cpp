// Window shapes through the real region calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <vector>

#include "shape/mod_RGN_Data.h"
#include "shape/mod_RGN_Proc.h"
#include "toolkit/App.h"
#include "toolkit/Form.h"

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

class Plain : public tk::Form {
 public:
  Plain() : tk::Form({.name = L"Plain", .caption = L"Plain", .backColor = RGB(10, 20, 30)}) {}
};

}  // namespace

TEST(Shapes, CameraOutlineRegion) {
  mod_RGN_Data::LoadShapeTables();
  tk::UniqueRgn rgn = mod_RGN_Proc::CreateShapeRegion(0, 0, 0);
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

  tk::UniqueRgn figure = mod_RGN_Proc::CreateShapeRegion(1, 0, 0);
  EXPECT_EQ(Area(RegionRects(figure.get())), 466);

  // Offsets in twips become whole pixels by integer division.
  double tpp = tk::Screen::TwipsPerPixelX();
  tk::UniqueRgn moved = mod_RGN_Proc::CreateShapeRegion(0, 3 * tpp + 1, 2 * tpp);
  ::GetRgnBox(moved.get(), &box);
  EXPECT_EQ(box.left, 4);
  EXPECT_EQ(box.top, 3);
}

TEST(Shapes, FormTakesSizeOutlineAndPictureOnce) {
  Plain form;
  mod_RGN_Proc::SetFormShape(0, form, false);
  EXPECT_TRUE(mod_RGN_Data::ShapesLoaded);
  EXPECT_TRUE(form.AutoRedraw());
  RECT wr;
  ::GetWindowRect(form.hWnd(), &wr);
  EXPECT_EQ(wr.right - wr.left, std::lround(420 / tk::Screen::TwipsPerPixelX()));  // fixed twips
  EXPECT_EQ(wr.bottom - wr.top, std::lround(375 / tk::Screen::TwipsPerPixelY()));
  tk::UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(form.hWnd(), rgn.get()), ERROR);
  EXPECT_EQ(Area(RegionRects(rgn.get())), 476);
  // Painting off: only the background colour in the persistent image.
  EXPECT_EQ(::GetPixel(form.hDC(), 13, 10), RGB(10, 20, 30));

  // A second request does not reload the tables: a changed table stays changed.
  mod_RGN_Data::ShapeRegions[0][8] = 8;  // nCount 8: the bottom band is dropped
  mod_RGN_Proc::SetFormShape(0, form, true);
  ASSERT_NE(::GetWindowRgn(form.hWnd(), rgn.get()), ERROR);
  EXPECT_EQ(Area(RegionRects(rgn.get())), 476 - 22);
  mod_RGN_Data::LoadShapeTables();

  // Painted: the camera picture inside the outline, nothing outside it.
  EXPECT_NE(::GetPixel(form.hDC(), 13, 10), RGB(10, 20, 30));
  EXPECT_EQ(::GetPixel(form.hDC(), 0, 0), RGB(10, 20, 30));
  form.Unload();
}

#include <gtest/gtest.h>

#include "frame/FrameGeometry.h"
#include "toolkit/Twips.h"

using frame::ComputeLayout;

TEST(FrameLayout, EvenSizeAt15TwipsPerPixel) {
  auto l = ComputeLayout(4800, 3600, 15, 15);
  EXPECT_EQ(l.W, 320);
  EXPECT_EQ(l.H, 240);
  EXPECT_EQ(l.M, 160);
  EXPECT_EQ(l.N, 120);
  EXPECT_EQ(l.squares[frame::kTopMiddle], (region::Rect{158, 0, 163, 5}));
  EXPECT_EQ(l.handles[frame::kTopRight], (frame::Point{4725, 0}));
  EXPECT_EQ(l.handles[frame::kTopMiddle], (frame::Point{2370, 0}));
  EXPECT_EQ(l.handles[frame::kRightMiddle], (frame::Point{4725, 1770}));
  EXPECT_EQ(l.handles[frame::kBottomRight], (frame::Point{4725, 3525}));
  EXPECT_EQ(l.handles[frame::kLeftMiddle], (frame::Point{0, 1770}));
  EXPECT_EQ(l.ring[0], (frame::Point{0, 0}));
  EXPECT_EQ(l.ring[7], (frame::Point{319, 239}));
}

TEST(FrameLayout, OddSizeHalvesTwipsBeforeConverting) {
  auto l = ComputeLayout(4695, 3195, 15, 15);
  EXPECT_EQ(l.W, 313);
  EXPECT_EQ(l.H, 213);
  EXPECT_EQ(l.M, 156);
  EXPECT_EQ(l.N, 106);
  EXPECT_EQ(l.handles[frame::kTopMiddle].x, 2317);
  EXPECT_EQ(l.handles[frame::kRightMiddle].y, 1567);
}

TEST(FrameLayout, VisiblePixelsAreTheRingAndTheSquares) {
  auto l = ComputeLayout(4800, 3600, 15, 15);
  int visible = 0;
  for (int y = 0; y < l.H; ++y)
    for (int x = 0; x < l.W; ++x) visible += frame::Covers(l, x, y);
  int ring = 2 * 320 + 2 * 238;
  int squares = 4 * 16 + 4 * 20;  // a corner square shares two edges with the ring, a middle one one edge
  EXPECT_EQ(visible, ring + squares);
  EXPECT_TRUE(frame::Covers(l, 0, 120));    // the left side is one pixel wide over its whole length
  EXPECT_FALSE(frame::Covers(l, 1, 60));
  EXPECT_TRUE(frame::Covers(l, 4, 122));    // left-middle square reaches y 118..122
  EXPECT_FALSE(frame::Covers(l, 4, 123));
  EXPECT_FALSE(frame::Covers(l, 160, 120));  // inside is see-through

  auto small = ComputeLayout(150, 150, 15, 15);  // the smallest frame is solid
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_TRUE(frame::Covers(small, x, y)) << x << "," << y;
}

TEST(FrameLayout, At12TwipsPerPixel) {
  auto l = ComputeLayout(3840, 2400, 12, 12);
  EXPECT_EQ(l.W, 320);
  EXPECT_EQ(l.H, 200);
  EXPECT_EQ(l.handles[frame::kTopRight].x, 3840 - 60);
  EXPECT_EQ(l.handles[frame::kTopMiddle].x, 1920 - 24);
}

TEST(FrameHitTest, CornersAndMiddles) {
  using frame::Cursor;
  auto hit = [](double x, double y, int w = 4800, int h = 3600) { return frame::HitTest(x, y, w, h, 75, 75); };
  EXPECT_EQ(hit(60, 30).corner, 1);
  EXPECT_EQ(hit(60, 30).cursor, Cursor::NorthWestSouthEast);
  EXPECT_EQ(hit(4740, 3540).corner, 4);
  EXPECT_EQ(hit(4740, 3540).cursor, Cursor::NorthWestSouthEast);
  EXPECT_EQ(hit(4740, 30).corner, 3);
  EXPECT_EQ(hit(4740, 30).cursor, Cursor::NorthEastSouthWest);
  EXPECT_EQ(hit(30, 3540).corner, 2);
  EXPECT_EQ(hit(2400, 0).corner, 0);
  EXPECT_EQ(hit(2400, 0).cursor, Cursor::Move);
  EXPECT_EQ(hit(75, 75).corner, 1);  // bounds are inclusive
  EXPECT_EQ(hit(76, 75).corner, 0);
  // A frame 10 pixels wide: the point 5 pixels from the left is in both zones; the right wins.
  EXPECT_EQ(hit(75, 0, 150, 3600).corner, 3);
  EXPECT_EQ(hit(75, 150, 3600, 150).corner, 2);  // 10 high: the bottom zone wins over the top
}

TEST(FrameResize, CornersFollowTheMouseOppositeCornerFixed) {
  frame::Snap s{3000, 1800, 4800, 3600};
  frame::Resize(s, 4, 4845, 3630, 150, 150);  // bottom-right dragged 3 px right, 2 px down
  EXPECT_EQ(s, (frame::Snap{3000, 1800, 4845, 3630}));
  frame::Resize(s, 1, 30, -15, 150, 150);  // top-left: 2 px right, 1 px up
  EXPECT_EQ(s, (frame::Snap{3030, 1785, 4815, 3645}));
  frame::Resize(s, 3, 4800, 15, 150, 150);
  EXPECT_EQ(s, (frame::Snap{3030, 1800, 4800, 3630}));
  frame::Resize(s, 2, -15, 3600, 150, 150);
  EXPECT_EQ(s, (frame::Snap{3015, 1800, 4815, 3600}));
  frame::Resize(s, 0, 999, 999, 150, 150);
  EXPECT_EQ(s, (frame::Snap{3015, 1800, 4815, 3600}));
}

TEST(FrameResize, NeverBelowTheMinimumEdgesStay) {
  frame::Snap s{3000, 1800, 4800, 3600};
  frame::Resize(s, 1, 6000, 5000, 150, 150);  // top-left past the right and bottom edges
  EXPECT_EQ(s, (frame::Snap{3000 + 4800 - 150, 1800 + 3600 - 150, 150, 150}));
  frame::Snap t{3000, 1800, 4800, 3600};
  frame::Resize(t, 4, -600, -30, 150, 150);  // bottom-right left of the left edge
  EXPECT_EQ(t, (frame::Snap{3000, 1800, 150, 150}));
  frame::Snap u{3000, 1800, 4800, 3600};
  frame::Resize(u, 4, 150, 150.5, 150, 150);  // exactly the minimum stays the minimum
  EXPECT_EQ(u.w, 150);
  EXPECT_EQ(u.h, 150);
}

TEST(FrameResize, RoundsHalfToEvenInDoublePrecision) {
  frame::Snap s{0, 0, 4800, 3600};
  frame::Resize(s, 4, 1000.5, 1001.5, 150, 150);
  EXPECT_EQ(s.w, 1000);
  EXPECT_EQ(s.h, 1002);
  frame::Snap t{100, 100, 4800, 3600};
  frame::Resize(t, 1, 0.5, 1.5, 150, 150);
  EXPECT_EQ(t.w, 4800);  // round(4799.5) = 4800
  EXPECT_EQ(t.x, 100);   // round(100.5) = 100
  EXPECT_EQ(t.h, 3598);  // round(3598.5) = 3598
  EXPECT_EQ(t.y, 102);   // round(101.5) = 102
}

TEST(FrameLayout, At200PercentTheRingHasTheWindowsSize) {
  // 7.5 twips per pixel: 750 x 375 twips are the 100 x 50 pixels the window covers.
  auto l = ComputeLayout(750, 375, 7.5, 7.5);
  EXPECT_EQ(l.W, 100);
  EXPECT_EQ(l.H, 50);
  EXPECT_EQ(l.M, 50);
  EXPECT_EQ(l.N, 25);
  EXPECT_EQ(l.ring[2], (frame::Point{100, 50}));
  EXPECT_EQ(l.squares[frame::kBottomRight], (region::Rect{95, 45, 100, 50}));
  EXPECT_EQ(l.handles[frame::kTopRight], (frame::Point{750 - 38, 0}));
}

TEST(FrameLayout, At175PercentTheRingHasTheWindowsSize) {
  const double r = 1440.0 / 168;  // 8.57 twips per pixel
  auto l = ComputeLayout(858, 429, r, r);
  EXPECT_EQ(l.W, 100);
  EXPECT_EQ(l.H, 50);
  EXPECT_EQ(l.squares[frame::kTopRight], (region::Rect{95, 0, 100, 5}));
  EXPECT_EQ(l.squares[frame::kBottomLeft], (region::Rect{0, 45, 5, 50}));
}

TEST(FrameResize, AtAFractionalRatioTheEdgeLandsOnThePixelUnderTheMouse) {
  const double r = 7.5;
  // A frame at (200, 120), 100 x 50 pixels; the top-left corner goes 3 pixels
  // left and 1 up: the mouse, 3 pixels left, is -23 twips from the corner.
  frame::Snap s{1500, 900, 750, 375};
  frame::Resize(s, 1, -23, -8, 75, 75, r, r);
  EXPECT_EQ(twips::ToPixels(s.x, r), 197);
  EXPECT_EQ(twips::ToPixels(s.y, r), 119);
  EXPECT_EQ(twips::ToPixels(s.w, r), 103);  // the right edge stays at pixel 300
  EXPECT_EQ(twips::ToPixels(s.h, r), 51);
  // Past the opposite corner: exactly 10 pixels, the far edge where it was.
  frame::Resize(s, 1, 2000, 2000, 75, 75, r, r);
  EXPECT_EQ(twips::ToPixels(s.x, r), 290);
  EXPECT_EQ(twips::ToPixels(s.w, r), 10);
  EXPECT_EQ(twips::ToPixels(s.y, r), 160);
  EXPECT_EQ(twips::ToPixels(s.h, r), 10);
  // A move left of the screen's edge keeps working in negative pixels.
  frame::Snap n{-1500, -900, 750, 375};
  frame::Resize(n, 2, -23, 383, 75, 75, r, r);
  EXPECT_EQ(twips::ToPixels(n.x, r), -203);
  EXPECT_EQ(twips::ToPixels(n.x, r) + twips::ToPixels(n.w, r), -100);
  EXPECT_EQ(twips::ToPixels(n.h, r), 51);
}

TEST(FrameKeys, ArrowsMoveShiftArrowsResizeCtrlTakesTenPixels) {
  // A frame at (200, 120), 100 x 50 pixels, at 15 twips per pixel.
  const frame::Snap s{3000, 1800, 1500, 750};
  EXPECT_EQ(frame::KeyStep(s, 1, 0, false, 1, 15, 15), (frame::Snap{3015, 1800, 1500, 750}));
  EXPECT_EQ(frame::KeyStep(s, 0, -1, false, 10, 15, 15), (frame::Snap{3000, 1650, 1500, 750}));
  EXPECT_EQ(frame::KeyStep(s, -1, 0, true, 1, 15, 15), (frame::Snap{3000, 1800, 1485, 750}));
  EXPECT_EQ(frame::KeyStep(s, 0, 1, true, 10, 15, 15), (frame::Snap{3000, 1800, 1500, 900}));
  // Never below 10 x 10 pixels.
  EXPECT_EQ(frame::KeyStep({0, 0, 165, 150}, -1, 0, true, 10, 15, 15), (frame::Snap{0, 0, 150, 150}));
  EXPECT_EQ(frame::KeyStep({0, 0, 150, 150}, 0, -1, true, 1, 15, 15), (frame::Snap{0, 0, 150, 150}));
  // At 200 %: one pixel left of 200 is 199, and left of 0 is -1.
  auto m = frame::KeyStep({1500, 900, 750, 375}, -1, 0, false, 1, 7.5, 7.5);
  EXPECT_EQ(twips::ToPixels(m.x, 7.5), 199);
  auto n = frame::KeyStep({0, 0, 750, 375}, -1, -1, false, 1, 7.5, 7.5);
  EXPECT_EQ(twips::ToPixels(n.x, 7.5), -1);
  EXPECT_EQ(twips::ToPixels(n.y, 7.5), -1);
  EXPECT_EQ(frame::SizeText(s, 15, 15), L"100 \u00d7 50");
}

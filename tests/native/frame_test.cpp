#include <gtest/gtest.h>

#include "core/capture_area.h"
#include "core/frame_model.h"

using frame::ComputeLayout;
using frame::Corner;
using geometry::Rect;

TEST(FrameLayout, RingAndSquaresOfAnEvenAndAnOddFrame) {
  auto l = ComputeLayout(320, 240);
  EXPECT_EQ(l.M, 160);
  EXPECT_EQ(l.N, 120);
  EXPECT_EQ(l.squares[frame::kTopMiddle], (Rect{158, 0, 163, 5}));
  EXPECT_EQ(l.squares[frame::kBottomRight], (Rect{315, 235, 320, 240}));
  EXPECT_EQ(l.ring[0], (geometry::Point{0, 0}));
  EXPECT_EQ(l.ring[7], (geometry::Point{319, 239}));
  auto odd = ComputeLayout(313, 213);
  EXPECT_EQ(odd.M, 156);
  EXPECT_EQ(odd.N, 106);
  EXPECT_EQ(odd.squares[frame::kLeftMiddle], (Rect{0, 104, 5, 109}));
}

TEST(FrameLayout, VisiblePixelsAreTheRingAndTheSquares) {
  auto l = ComputeLayout(320, 240);
  int visible = 0;
  for (int y = 0; y < l.H; ++y)
    for (int x = 0; x < l.W; ++x) visible += frame::Covers(l, x, y);
  int ring = 2 * 320 + 2 * 238;
  int squares = 4 * 16 + 4 * 20;  // a corner square shares two edges with the ring, a middle one one edge
  EXPECT_EQ(visible, ring + squares);
  EXPECT_TRUE(frame::Covers(l, 0, 120));  // the left side is one pixel wide over its whole length
  EXPECT_FALSE(frame::Covers(l, 1, 60));
  EXPECT_TRUE(frame::Covers(l, 4, 122));  // left-middle square reaches y 118..122
  EXPECT_FALSE(frame::Covers(l, 4, 123));
  EXPECT_FALSE(frame::Covers(l, 160, 120));  // inside is see-through

  auto small = ComputeLayout(10, 10);  // the smallest frame is solid
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_TRUE(frame::Covers(small, x, y)) << x << "," << y;
}

TEST(FrameOutlines, TwipsPlacesShownThroughTheOneConversion) {
  auto at96 = frame::HandleOutlines(4800, 3600, {15, 15});
  EXPECT_EQ(at96[frame::kTopRight], (Rect{315, 0, 320, 5}));
  EXPECT_EQ(at96[frame::kTopMiddle], (Rect{158, 0, 163, 5}));
  EXPECT_EQ(at96[frame::kRightMiddle], (Rect{315, 118, 320, 123}));
  // At 120 dpi the outlines are 75 twips = 6 pixels; the middle ones of a
  // 121 x 83 frame stand at 702 / 12 = 58.5 and 474 / 12 = 39.5 pixels.
  auto at120 = frame::HandleOutlines(121 * 12, 83 * 12, {12, 12});
  EXPECT_EQ(at120[frame::kTopLeft], (Rect{0, 0, 6, 6}));
  EXPECT_EQ(at120[frame::kTopMiddle], (Rect{58, 0, 64, 6}));
  EXPECT_EQ(at120[frame::kLeftMiddle], (Rect{0, 39, 6, 45}));
  EXPECT_EQ(at120[frame::kBottomRight], (Rect{116, 78, 122, 84}));
}

TEST(FrameHitTest, CornersAndMiddles) {
  using frame::Cursor;
  auto hit = [](int x, int y, int w = 320, int h = 240) { return frame::HitTest({x, y}, w, h); };
  EXPECT_EQ(hit(4, 2), (frame::Hit{Corner::TopLeft, Cursor::NorthWestSouthEast}));
  EXPECT_EQ(hit(316, 236), (frame::Hit{Corner::BottomRight, Cursor::NorthWestSouthEast}));
  EXPECT_EQ(hit(316, 2), (frame::Hit{Corner::TopRight, Cursor::NorthEastSouthWest}));
  EXPECT_EQ(hit(2, 236), (frame::Hit{Corner::BottomLeft, Cursor::NorthEastSouthWest}));
  EXPECT_EQ(hit(160, 0), (frame::Hit{Corner::None, Cursor::Move}));
  EXPECT_EQ(hit(5, 5).corner, Corner::TopLeft);  // bounds are inclusive
  EXPECT_EQ(hit(6, 5).corner, Corner::None);
  // A frame 10 pixels wide: the point 5 pixels from the left is in both zones; the right wins.
  EXPECT_EQ(hit(5, 0, 10, 240).corner, Corner::TopRight);
  EXPECT_EQ(hit(5, 5, 240, 10).corner, Corner::BottomLeft);  // 10 high: the bottom zone wins
}

TEST(FrameResize, CornersFollowTheMouseOppositeEdgesStay) {
  Rect r{200, 120, 520, 360};
  r = frame::Resize(r, Corner::BottomRight, {323, 242});  // 3 px right, 2 px down
  EXPECT_EQ(r, (Rect{200, 120, 523, 362}));
  r = frame::Resize(r, Corner::TopLeft, {2, -1});
  EXPECT_EQ(r, (Rect{202, 119, 523, 362}));
  r = frame::Resize(r, Corner::TopRight, {320, 1});
  EXPECT_EQ(r, (Rect{202, 120, 522, 362}));
  r = frame::Resize(r, Corner::BottomLeft, {-1, 240});
  EXPECT_EQ(r, (Rect{201, 120, 522, 360}));
  EXPECT_EQ(frame::Resize(r, Corner::None, {99, 99}), r);
  // Left of the screen's edge too.
  EXPECT_EQ(frame::Resize({-200, -120, -100, -70}, Corner::BottomLeft, {-3, 51}), (Rect{-203, -120, -100, -69}));
}

TEST(FrameResize, NeverBelowTheMinimumTheFarEdgesStay) {
  const Rect r{200, 120, 520, 360};
  EXPECT_EQ(frame::Resize(r, Corner::TopLeft, {400, 300}), (Rect{510, 350, 520, 360}));
  EXPECT_EQ(frame::Resize(r, Corner::BottomRight, {-40, -2}), (Rect{200, 120, 210, 130}));
  EXPECT_EQ(frame::Resize(r, Corner::BottomRight, {10, 10}), (Rect{200, 120, 210, 130}));
}

TEST(FrameKeys, ArrowsMoveShiftArrowsResizeCtrlTakesTenPixels) {
  const Rect r{200, 120, 300, 170};
  EXPECT_EQ(frame::KeyStep(r, 1, 0, false, 1), (Rect{201, 120, 301, 170}));
  EXPECT_EQ(frame::KeyStep(r, 0, -1, false, 10), (Rect{200, 110, 300, 160}));
  EXPECT_EQ(frame::KeyStep(r, -1, 0, true, 1), (Rect{200, 120, 299, 170}));
  EXPECT_EQ(frame::KeyStep(r, 0, 1, true, 10), (Rect{200, 120, 300, 180}));
  EXPECT_EQ(frame::KeyStep({0, 0, 11, 10}, -1, 0, true, 10), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(frame::KeyStep({0, 0, 10, 10}, 0, -1, true, 1), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(frame::KeyStep({0, 0, 100, 50}, -1, -1, false, 1), (Rect{-1, -1, 99, 49}));
  EXPECT_EQ(frame::SizeText(r.Width(), r.Height()), L"100 \u00d7 50");
}

TEST(CaptureArea, StoredTwipsShowAsPixelsAtEveryScale) {
  EXPECT_EQ(CaptureArea({3000, 1800, 1500, 750}, {15, 15}).Pixels(), (Rect{200, 120, 300, 170}));
  EXPECT_EQ(CaptureArea({1500, 900, 750, 375}, {7.5, 7.5}).Pixels(), (Rect{200, 120, 300, 170}));
  const double at168 = 1440.0 / 168;  // 60/7 twips per pixel
  EXPECT_EQ(CaptureArea({1715, 1029, 858, 429}, {at168, at168}).Pixels(), (Rect{200, 120, 300, 170}));
  EXPECT_TRUE(CaptureArea({3000, 1800, 0, 750}, {15, 15}).Empty());
  EXPECT_FALSE(CaptureArea({3000, 1800, 1, 1}, {15, 15}).Empty());
}

TEST(CaptureArea, WhatTheUserDidNotChangeKeepsItsTwips) {
  // Twips from another scale: 3007 and 1507 name pixels 200 and 100 here.
  CaptureArea area({3007, 1800, 1507, 750}, {15, 15});
  area.Set({201, 120, 301, 170});  // moved one pixel right
  EXPECT_EQ(area.Stored(), (settings::TwipsRect{3015, 1800, 1507, 750}));
  EXPECT_EQ(area.Pixels(), (Rect{201, 120, 301, 170}));
  // At 200 %: the top-left corner dragged 3 pixels left and 1 up.
  CaptureArea scaled({1500, 900, 750, 375}, {7.5, 7.5});
  scaled.Set({197, 119, 300, 170});
  EXPECT_EQ(scaled.Stored(), (settings::TwipsRect{1478, 893, 773, 383}));
  EXPECT_EQ(CaptureArea(scaled.Stored(), {7.5, 7.5}).Pixels(), (Rect{197, 119, 300, 170}));
}

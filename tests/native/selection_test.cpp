#include "core/selection.h"

#include <gtest/gtest.h>

#include <vector>

using geometry::Rect;

TEST(Selection, BothEndPixelsAreInTheRectangleWhicheverWayTheDragGoes) {
  EXPECT_EQ(selection::Marked({100, 50}, {219, 129}), (Rect{100, 50, 220, 130}));
  EXPECT_EQ(selection::Marked({219, 129}, {100, 50}), (Rect{100, 50, 220, 130}));
  // A monitor left of and above the main one.
  EXPECT_EQ(selection::Marked({-700, -20}, {-601, 39}), (Rect{-700, -20, -600, 40}));
}

TEST(Selection, ASmallRectangleGrowsToTheSmallestFrameFromThePixelPressed) {
  // A click without a drag.
  EXPECT_EQ(selection::Marked({300, 200}, {300, 200}), (Rect{300, 200, 310, 210}));
  // Dragged 3 pixels left and up: it grows on the side the drag went.
  EXPECT_EQ(selection::Marked({300, 200}, {297, 197}), (Rect{291, 191, 301, 201}));
  // Only the short side grows.
  EXPECT_EQ(selection::Marked({300, 200}, {400, 204}), (Rect{300, 200, 401, 210}));
}

TEST(Selection, ArrowKeysMoveThePointerByOneOrTenPixels) {
  EXPECT_EQ(selection::KeyStep({5, 5}, -1, 0, false), (geometry::Point{4, 5}));
  EXPECT_EQ(selection::KeyStep({5, 5}, 0, 1, true), (geometry::Point{5, 15}));
}

TEST(Selection, TheMagnifierKeepsItsSizeOnEveryScale) {
  EXPECT_EQ(selection::Zoom(96), 8);
  EXPECT_EQ(selection::Zoom(120), 10);
  EXPECT_EQ(selection::Zoom(144), 12);
  EXPECT_EQ(selection::Zoom(192), 16);
  EXPECT_EQ(selection::Zoom(72), 8);  // never smaller than at 96 dpi
}

TEST(Selection, TheMagnifierStaysOffTheDraggedCornerAndOnThePointersMonitor) {
  const Rect monitor{0, 0, 1920, 1080};
  // Before the press: below and right of the pointer.
  EXPECT_EQ(selection::MagnifierPlace({500, 400}, {500, 400}, 130, 150, 20, monitor), (Rect{520, 420, 650, 570}));
  // Dragging up and left: the selection lies below and right, the
  // magnifier above and left.
  EXPECT_EQ(selection::MagnifierPlace({500, 400}, {800, 700}, 130, 150, 20, monitor), (Rect{350, 230, 480, 380}));
  // At the right and bottom edges there is no room: the other side.
  EXPECT_EQ(selection::MagnifierPlace({1900, 1070}, {100, 100}, 130, 150, 20, monitor),
            (Rect{1750, 900, 1880, 1050}));
  // A monitor at negative coordinates, the pointer in its top-left corner.
  EXPECT_EQ(selection::MagnifierPlace({-800, 0}, {-700, 100}, 130, 150, 20, Rect{-800, 0, 0, 600}),
            (Rect{-780, 20, -650, 170}));
}

TEST(Selection, APressAndAReleaseMarkARectangleAndOneThatHardlyMovedIsAClick) {
  selection::Marking marking({40, 30});
  EXPECT_EQ(marking.Dragged(), std::nullopt);
  EXPECT_EQ(marking.Anchor(), (geometry::Point{40, 30}));
  EXPECT_FALSE(marking.IsClick(2));
  marking.Press();
  marking.MoveTo({42, 28});
  EXPECT_TRUE(marking.IsClick(2));
  EXPECT_EQ(marking.Anchor(), (geometry::Point{40, 30}));
  marking.MoveTo({43, 30});
  EXPECT_FALSE(marking.IsClick(2));
  marking.MoveTo({139, 79});
  EXPECT_EQ(marking.Dragged(), (Rect{40, 30, 140, 80}));
}

TEST(Selection, OutsideTheSelectionTheScreenShowsAtHalfBrightness) {
  EXPECT_EQ(selection::Dimmed(0xFFFFFFu), 0x7F7F7Fu);
  EXPECT_EQ(selection::Dimmed(0x00804001u), 0x00402000u);  // no bit runs into the next colour
  // Pixels 10..15 of a row, bright from 12 to 14.
  const std::uint32_t row[] = {0xFEFEFE, 0xFEFEFE, 0xFEFEFE, 0xFEFEFE, 0xFEFEFE, 0xFEFEFE};
  std::uint32_t out[6] = {};
  selection::ShowRow(row, out, 10, 16, 12, 14);
  EXPECT_EQ(std::vector<std::uint32_t>(out, out + 6),
            (std::vector<std::uint32_t>{0x7F7F7F, 0x7F7F7F, 0xFEFEFE, 0xFEFEFE, 0x7F7F7F, 0x7F7F7F}));
  // A bright part beyond the row's ends, and one that is empty.
  selection::ShowRow(row, out, 10, 16, 0, 100);
  EXPECT_EQ(out[0], 0xFEFEFEu);
  selection::ShowRow(row, out, 10, 16, 30, 20);
  EXPECT_EQ(out[5], 0x7F7F7Fu);
}

TEST(Selection, TheMagnifierShowsTheFifteenPixelsAroundThePointerEachAsASquare) {
  // At zoom 8 the box is 122 wide; its first 8 x 8 pixels show the pixel 7
  // left and 7 above the pointer, the centre square the pointer's pixel.
  EXPECT_EQ((selection::MagnifierBox{8}.Width()), 122);
  EXPECT_EQ((selection::MagnifierBox{8}.Height()), 154);
  EXPECT_EQ(selection::MagnifiedSource({100, 50}, 8, 0, 0), (geometry::Point{93, 43}));
  EXPECT_EQ(selection::MagnifiedSource({100, 50}, 8, 7, 7), (geometry::Point{93, 43}));
  EXPECT_EQ(selection::MagnifiedSource({100, 50}, 8, 56, 63), (geometry::Point{100, 50}));
  EXPECT_EQ(selection::MagnifiedSource({-5, -5}, 12, 179, 0), (geometry::Point{-5 + 7, -12}));
}

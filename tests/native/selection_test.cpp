#include "core/selection.h"

#include <gtest/gtest.h>

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

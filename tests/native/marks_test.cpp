#include "core/marks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using geometry::Point;
using geometry::Rect;
using marks::Mark;
using marks::Tool;

namespace {

// The marks drawn in red on a black picture, as rows of '#' and '.'.
std::vector<std::string> Drawn(const std::vector<Mark>& drawn, int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
  marks::Draw(drawn, pixels.data(), width, height, static_cast<std::size_t>(width));
  std::vector<std::string> rows(height, std::string(width, '.'));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rows[y][x] = pixels[y * width + x] ? '#' : '.';
  return rows;
}

Mark Of(Tool tool, std::vector<Point> points, int width = 1, std::uint32_t colour = 0xFF0000) {
  return Mark{tool, colour, width, std::move(points), L""};
}

}  // namespace

TEST(Marks, ShapesCoverExactlyTheirPixels) {
  EXPECT_EQ(Drawn({Of(Tool::Rectangle, {{1, 1}, {4, 3}})}, 6, 5),
            (std::vector<std::string>{"......", ".####.", ".#..#.", ".####.", "......"}));
  EXPECT_EQ(Drawn({Of(Tool::Line, {{0, 0}, {4, 2}})}, 5, 3), (std::vector<std::string>{"#....", ".##..", "...##"}));
  // A line 3 wide is 3 x 3 at a single point.
  EXPECT_EQ(Drawn({Of(Tool::Pen, {{2, 2}}, 3)}, 5, 5),
            (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
  // A rectangle 2 wide keeps its line inside its corners.
  EXPECT_EQ(Drawn({Of(Tool::Rectangle, {{0, 0}, {4, 4}}, 2)}, 5, 5),
            (std::vector<std::string>{"#####", "#####", "##.##", "#####", "#####"}));
}

TEST(Marks, AHiddenBoxLeavesNothingOfWhatWasBeneath) {
  std::vector<std::uint32_t> pixels(8 * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 0x010203);
  marks::Draw({Of(Tool::Hide, {{6, 3}, {2, 1}}, 1, 0x000000)}, pixels.data(), 8, 4, 8);
  for (int y = 1; y <= 3; ++y)
    for (int x = 2; x <= 6; ++x) EXPECT_EQ(pixels[y * 8 + x], 0u) << x << "," << y;
  EXPECT_EQ(pixels[1 * 8 + 7], static_cast<std::uint32_t>(15 * 0x010203));
}

TEST(Marks, TheHighlighterShowsWhatIsBeneathOnceEvenWhereItsStrokeCrossesItself) {
  std::vector<std::uint32_t> pixels(5 * 3, 0x000000);
  marks::Draw({Of(Tool::Highlighter, {{1, 1}, {3, 1}, {1, 1}}, 1, 0xFFFF00)}, pixels.data(), 5, 3, 5);
  EXPECT_EQ(pixels[1 * 5 + 2], 0x808000u);
  EXPECT_EQ(pixels[1 * 5 + 0], 0u);
}

TEST(Marks, AnArrowHasItsHeadAtTheEnd) {
  const std::vector<std::string> rows = Drawn({Of(Tool::Arrow, {{0, 10}, {20, 10}})}, 24, 20);
  // Ten pixels back from the tip at 30 degrees: (11, 5) and (11, 15).
  EXPECT_EQ(rows[10][20], '#');
  EXPECT_EQ(rows[5][11], '#');
  EXPECT_EQ(rows[15][11], '#');
  EXPECT_EQ(rows[5][3], '.');
}

TEST(Marks, EditsAreUndoneAndRedoneAndANewEditEndsTheRedo) {
  marks::Document doc;
  doc.Add(Of(Tool::Rectangle, {{10, 10}, {19, 19}}));
  doc.Add(Of(Tool::Line, {{0, 0}, {5, 5}}));
  doc.Move(1, 3, 4);
  EXPECT_EQ(doc.Marks()[1].points, (std::vector<Point>{{3, 4}, {8, 9}}));
  doc.Resize(0, {10, 10, 40, 30});
  EXPECT_EQ(doc.Marks()[0].points, (std::vector<Point>{{10, 10}, {39, 29}}));
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Marks()[0].points, (std::vector<Point>{{10, 10}, {19, 19}}));
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(doc.Marks().size(), 1u);
  EXPECT_TRUE(doc.Redo());
  EXPECT_EQ(doc.Marks().size(), 2u);
  doc.Remove(0);
  EXPECT_FALSE(doc.Redo());
  EXPECT_EQ(doc.Marks().size(), 1u);
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.Undo());
  EXPECT_TRUE(doc.Marks().empty());
}

TEST(Marks, APointHitsTheTopmostMarkUnderIt) {
  marks::Document doc;
  doc.Add(Of(Tool::Hide, {{0, 0}, {49, 49}}));
  doc.Add(Of(Tool::Rectangle, {{20, 20}, {29, 29}}));
  EXPECT_EQ(doc.HitTest({25, 25}, 0), 1u);
  EXPECT_EQ(doc.HitTest({5, 5}, 0), 0u);
  EXPECT_EQ(doc.HitTest({52, 52}, 2), std::nullopt);
  EXPECT_EQ(doc.HitTest({51, 51}, 2), 0u);
}

TEST(Marks, NumbersCountInTheirOrderAndTextIsLeftToTheLettering) {
  std::vector<std::uint32_t> pixels(60 * 30, 0);
  std::vector<std::pair<int, std::wstring>> lettered;
  const std::vector<marks::Mark> drawn{
      {marks::Tool::Number, 0xFF0000, 1, {{12, 12}}, L""},
      {marks::Tool::Text, 0x0000FF, 2, {{30, 2}, {50, 20}}, L"Ab"},
      {marks::Tool::Number, 0x0000FF, 1, {{45, 15}}, L""}};
  marks::Draw(drawn, pixels.data(), {0, 0, 60, 30}, 60,
              [&](const marks::Mark& m, int number, const Rect&) { lettered.emplace_back(number, m.text); });
  ASSERT_EQ(lettered.size(), 3u);
  EXPECT_EQ(lettered[0].first, 1);
  EXPECT_EQ(lettered[1].second, L"Ab");
  EXPECT_EQ(lettered[2].first, 2);
  // A disc of radius 10 at width 1: its centre and 10 pixels left of it
  // are red, 11 pixels left is not; the text draws no pixel by itself.
  EXPECT_EQ(pixels[12 * 60 + 12], 0xFF0000u);
  EXPECT_EQ(pixels[12 * 60 + 2], 0xFF0000u);
  EXPECT_EQ(pixels[12 * 60 + 1], 0u);
  EXPECT_EQ(pixels[3 * 60 + 31], 0u);
}

TEST(Marks, DrawingARegionGivesThePixelsOfTheWholePictureThere) {
  const std::vector<marks::Mark> drawn{{marks::Tool::Line, 0x00FF00, 3, {{0, 0}, {39, 19}}, L""},
                                       {marks::Tool::Rectangle, 0xFF0000, 2, {{5, 5}, {30, 15}}, L""}};
  std::vector<std::uint32_t> whole(40 * 20, 7), part(13 * 6, 7);
  marks::Draw(drawn, whole.data(), 40, 20, 40);
  // Columns 20-32 of rows 8-13, in a buffer of its own.
  marks::Draw(drawn, part.data(), {20, 8, 33, 14}, 13, {});
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(part[y * 13 + x], whole[(y + 8) * 40 + x + 20]) << x << "," << y;
}

TEST(Marks, TheLastCropKeepsItsPartAndACropOutsideKeepsAll) {
  std::vector<marks::Mark> drawn{{marks::Tool::Crop, 0, 1, {{30, 20}, {10, 5}}, L""}};
  EXPECT_EQ(marks::CropOf({}, 50, 40), (Rect{0, 0, 50, 40}));
  EXPECT_EQ(marks::CropOf(drawn, 50, 40), (Rect{10, 5, 31, 21}));
  drawn.push_back({marks::Tool::Crop, 0, 1, {{45, 35}, {70, 90}}, L""});
  EXPECT_EQ(marks::CropOf(drawn, 50, 40), (Rect{45, 35, 50, 40}));
  drawn.push_back({marks::Tool::Crop, 0, 1, {{60, 60}, {70, 70}}, L""});
  EXPECT_EQ(marks::CropOf(drawn, 50, 40), (Rect{0, 0, 50, 40}));
}

TEST(Marks, ZoomStepsStopAt25And800Percent) {
  EXPECT_EQ(marks::NextZoom(100, true), 150);
  EXPECT_EQ(marks::NextZoom(100, false), 67);
  EXPECT_EQ(marks::NextZoom(800, true), 800);
  EXPECT_EQ(marks::NextZoom(25, false), 25);
  EXPECT_EQ(marks::NextZoom(120, true), 150) << "a zoom between steps goes to the next";
}

TEST(Marks, WhatAChangeRedrawsHoldsEveryPixelThatDiffers) {
  // Each change drawn on a 200 x 120 picture before and after: every pixel
  // that differs lies in the rectangles Changed gives.
  const auto check = [](const Mark& before, const Mark& after) -> std::vector<Rect> {
    std::vector<std::uint32_t> a(200 * 120, 0), b(200 * 120, 0);
    marks::Draw({before}, a.data(), 200, 120, 200);
    marks::Draw({after}, b.data(), 200, 120, 200);
    const std::vector<Rect> changed = marks::Changed(before, after);
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (a[y * 200 + x] == b[y * 200 + x]) continue;
        EXPECT_TRUE(std::any_of(changed.begin(), changed.end(), [&](const Rect& r) { return r.Contains({x, y}); }))
            << x << "," << y;
      }
    }
    return changed;
  };
  // A rectangle grown: only its sides, not the 150 x 90 inside.
  const auto sides = check(Of(Tool::Rectangle, {{10, 10}, {100, 60}}, 3), Of(Tool::Rectangle, {{10, 10}, {160, 100}}, 3));
  int area = 0;
  for (const Rect& r : sides) area += r.Width() * r.Height();
  EXPECT_LT(area, 4000);
  // A pen stroke that went on: only its new piece.
  const auto piece = check(Of(Tool::Pen, {{5, 5}, {50, 50}}, 4), Of(Tool::Pen, {{5, 5}, {50, 50}, {60, 52}}, 4));
  ASSERT_EQ(piece.size(), 1u);
  EXPECT_EQ(piece[0], (Rect{46, 46, 65, 57}));
  check(Of(Tool::Line, {{0, 0}, {190, 110}}, 8), Of(Tool::Line, {{0, 0}, {150, 119}}, 8));
  check(Of(Tool::Arrow, {{20, 20}, {100, 30}}, 2), Of(Tool::Arrow, {{20, 20}, {180, 100}}, 2));
  check(Of(Tool::Highlighter, {{5, 5}, {50, 50}}, 8), Of(Tool::Highlighter, {{5, 5}, {50, 50}, {20, 90}}, 8));
  check(Of(Tool::Hide, {{10, 10}, {50, 50}}), Of(Tool::Hide, {{30, 30}, {120, 80}}));
}

#include <gtest/gtest.h>

#include "core/placement.h"

using placement::Monitor;
using placement::Rect;

namespace {
// A 1920 x 1080 primary with a task bar, and a 1280 x 1024 monitor to its left.
const std::vector<Monitor> kTwo{
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}},
};
const Rect kCamera{626, 502, 654, 527};  // 28 x 25
}  // namespace

TEST(Placement, AWindowPartlyOnAMonitorStaysWhereItWas) {
  EXPECT_FALSE(placement::BringOnScreen({-1290, 500, -1262, 525}, kTwo));  // 18 pixels on the left monitor
  EXPECT_FALSE(placement::BringOnScreen({-14, 10, 14, 35}, kTwo));        // across both
  EXPECT_FALSE(placement::BringFrameBack({1900, 1070, 2000, 1120}, kCamera, kTwo));
  EXPECT_FALSE(placement::BringFrameBack({-1500, 100, -1270, 200}, kCamera, kTwo));
}

TEST(Placement, ACameraOffEveryMonitorComesFullyOntoTheNearest) {
  // Stored on a monitor that was right of the primary.
  EXPECT_EQ(placement::BringOnScreen({2500, 300, 2528, 325}, kTwo), (Rect{1892, 300, 1920, 325}));
  // Left of the left monitor, below its bottom.
  EXPECT_EQ(placement::BringOnScreen({-3000, 2000, -2972, 2025}, kTwo), (Rect{-1280, 999, -1252, 1024}));
  // In the primary's task bar only: outside every work area.
  EXPECT_EQ(placement::BringOnScreen({100, 1050, 128, 1075}, kTwo), (Rect{100, 1015, 128, 1040}));
}

TEST(Placement, AFrameOffEveryMonitorGoesBesideTheCameraKeepingItsSize) {
  EXPECT_EQ(placement::BringFrameBack({3000, 200, 3100, 250}, kCamera, kTwo), (Rect{658, 502, 758, 552}));
  // Too large for the camera's monitor: shrunk to its work area.
  EXPECT_EQ(placement::BringFrameBack({5000, 0, 9000, 3000}, kCamera, kTwo), (Rect{0, 0, 1920, 1040}));
  // A camera at the right edge: the frame is moved in rather than cut.
  EXPECT_EQ(placement::BringFrameBack({3000, 200, 3100, 250}, {1892, 300, 1920, 325}, kTwo),
            (Rect{1820, 300, 1920, 350}));
}

TEST(Placement, NoMonitorsLeavesEverythingAlone) {
  EXPECT_FALSE(placement::BringOnScreen({5000, 5000, 5028, 5025}, {}));
  EXPECT_FALSE(placement::BringFrameBack({5000, 5000, 5100, 5100}, kCamera, {}));
}

TEST(Placement, ANoticeGoesBesideTheCameraNeverOverTheFrame) {
  const Rect work{0, 0, 1920, 1040};
  // Below the camera when the frame is elsewhere.
  EXPECT_EQ(placement::PlaceBeside(kCamera, {900, 100, 1000, 200}, 120, 20, work), (Rect{626, 531, 746, 551}));
  // The frame right below the camera: above it.
  EXPECT_EQ(placement::PlaceBeside(kCamera, {600, 520, 800, 700}, 120, 20, work), (Rect{626, 478, 746, 498}));
  // A camera at the bottom of the screen with the frame above: to its right.
  EXPECT_EQ(placement::PlaceBeside({100, 1015, 128, 1040}, {90, 900, 300, 1012}, 120, 20, work),
            (Rect{132, 1015, 252, 1035}));
}

TEST(Placement, AWindowFitsInsideTheWorkAreaShrunkWhereLarger) {
  const Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(placement::FitInside({100, 100, 500, 400}, work), (Rect{100, 100, 500, 400}));
  EXPECT_EQ(placement::FitInside({1800, -20, 2000, 80}, work), (Rect{1720, 0, 1920, 100}));
  EXPECT_EQ(placement::FitInside({-50, 10, 3950, 2170}, work), (Rect{0, 0, 1920, 1040}));
}

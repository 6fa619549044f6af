// The one-drag selection below the program: what a release with Shift
// captures, and that it is one activity among the others.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <vector>

#include "app/area_selection.h"
#include "tests/tools/capture_rig.h"
#include "win/still_screen.h"

namespace {

struct SelectionRig : CaptureRig {
  SelectionRig() : CaptureRig({40, 40, 90, 80}) {}
  struct Captured {
    bool quick;
    int width, height;
  };
  std::optional<geometry::Rect> placed;
  std::vector<Captured> captured;
  AreaSelection selection{{activity, windows, voice, [] { return false; },
                           [this](const geometry::Rect& r) { placed = r; },
                           [this](bool quick, HWND, const AreaSelection::CopyStill& copy) {
                             win::BitmapBuffer picture;
                             if (copy(picture)) captured.push_back({quick, picture.Width(), picture.Height()});
                           }}};

  // A mouse message at a point of the screen, as the window over its
  // monitor gets it.
  void Send(UINT message, WPARAM keys, geometry::Point at) {
    HWND cover = selection.Selector().WindowAt(at);
    RECT r{};
    ::GetWindowRect(cover, &r);
    ::SendMessageW(cover, message, keys, MAKELPARAM(at.x - r.left, at.y - r.top));
  }
};

TEST(Selection, ShiftAtTheReleaseCapturesExactlyTheRectangleDraggedToTheSeries) {
  SelectionRig rig;
  ASSERT_TRUE(rig.selection.Start(true, nullptr));
  EXPECT_EQ(rig.activity.Current(), Activity::Selecting);
  EXPECT_FALSE(rig.windows.frame.Visible());
  rig.Send(WM_LBUTTONDOWN, MK_LBUTTON, {100, 80});
  rig.Send(WM_MOUSEMOVE, MK_LBUTTON, {149, 119});
  rig.Send(WM_LBUTTONUP, MK_SHIFT, {149, 119});
  EXPECT_EQ(rig.placed, (geometry::Rect{100, 80, 150, 120}));
  ASSERT_EQ(rig.captured.size(), 1u);
  EXPECT_TRUE(rig.captured[0].quick);
  EXPECT_EQ(rig.captured[0].width, 50);
  EXPECT_EQ(rig.captured[0].height, 40);
  // Over: the activity given back, the window gone, our windows back.
  EXPECT_FALSE(rig.activity.Busy());
  EXPECT_FALSE(rig.selection.Running());
  EXPECT_TRUE(rig.windows.frame.Visible());
}

TEST(Selection, NoneStartsWhileSomethingElseRunsAndACancelChangesNothing) {
  SelectionRig rig;
  {
    const ActivityState::Scope menu = rig.activity.Start(Activity::Menu);
    EXPECT_FALSE(rig.selection.Start(false, nullptr));
    EXPECT_FALSE(rig.selection.Running());
    EXPECT_EQ(rig.activity.Current(), Activity::Menu);
  }
  ASSERT_TRUE(rig.selection.Start(false, nullptr));
  rig.Send(WM_LBUTTONDOWN, MK_LBUTTON, {300, 200});
  rig.Send(WM_MOUSEMOVE, MK_LBUTTON, {400, 260});
  ::SendMessageW(rig.selection.Selector().WindowAt({300, 200}), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(rig.placed, std::nullopt);
  EXPECT_TRUE(rig.captured.empty());
  EXPECT_FALSE(rig.activity.Busy());
  // An exit during a selection ends it the same way.
  ASSERT_TRUE(rig.selection.Start(false, nullptr));
  rig.selection.Cancel();
  EXPECT_FALSE(rig.selection.Running());
  EXPECT_FALSE(rig.activity.Busy());
  EXPECT_EQ(rig.placed, std::nullopt);
}

}  // namespace

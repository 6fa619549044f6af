#include "core/activity.h"

#include <gtest/gtest.h>

TEST(Activity, OneStartsAtATimeAndLeavingGivesBackWhatWasBefore) {
  ActivityState state;
  ActivityState::Scope capture = state.Start(Activity::Capturing);
  ASSERT_TRUE(capture);
  // A hotkey while the save dialog is open starts nothing.
  EXPECT_FALSE(state.Start(Activity::Capturing));
  {
    // The frame dragged meanwhile, and a message inside the drag.
    ActivityState::Scope move = state.Enter(Activity::MovingWindow);
    ActivityState::Scope message = state.Enter(Activity::Dialog);
    EXPECT_EQ(state.Current(), Activity::Dialog);
    message.Leave();
    EXPECT_EQ(state.Current(), Activity::MovingWindow);
  }
  EXPECT_EQ(state.Current(), Activity::Capturing);
  EXPECT_FALSE(state.Start(Activity::Menu));
  capture.Leave();
  EXPECT_EQ(state.Current(), Activity::Idle);
  EXPECT_TRUE(state.Start(Activity::Menu));
}

TEST(Activity, LeftOutOfOrderTheOthersStay) {
  ActivityState state;
  ActivityState::Scope pick = state.Start(Activity::Picking);
  ActivityState::Scope dialog = state.Enter(Activity::Dialog);
  pick.Leave();  // the pick ends while a message of ours is still open
  EXPECT_EQ(state.Current(), Activity::Dialog);
  EXPECT_TRUE(state.Busy());
  pick.Leave();  // twice is once
  dialog.Leave();
  EXPECT_FALSE(state.Busy());
}

TEST(Activity, AMovedScopeIsLeftOnceByItsNewHolder) {
  ActivityState state;
  ActivityState::Scope held;
  {
    ActivityState::Scope menu = state.Start(Activity::Menu);
    held = std::move(menu);
  }
  EXPECT_EQ(state.Current(), Activity::Menu);
  held = state.Enter(Activity::Dialog);  // the menu's scope is left by the assignment
  EXPECT_EQ(state.Current(), Activity::Dialog);
  held = {};
  EXPECT_EQ(state.Current(), Activity::Idle);
}

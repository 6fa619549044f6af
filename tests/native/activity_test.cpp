#include "core/activity.h"
#include "core/hook_watch.h"

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

TEST(HookWatch, InputTheHooksDoNotSeeForTwoSecondsMeansTheyAreGone) {
  HookWatch watch(1000);
  EXPECT_FALSE(watch.Lost(1100, 1100));  // input the hooks saw a moment ago
  watch.Seen(1100);
  EXPECT_FALSE(watch.Lost(5000, 1300));  // within the tolerance: a call on its way
  EXPECT_FALSE(watch.Lost(5000, 1400));  // unseen from 5000 on
  EXPECT_FALSE(watch.Lost(6999, 6990));
  EXPECT_TRUE(watch.Lost(7000, 6995));
  watch.Seen(0);     // a call from before the watch began
  EXPECT_TRUE(watch.Lost(7001, 6995));
  watch.Seen(7010);  // seen again: not lost
  EXPECT_FALSE(watch.Lost(9500, 7010));
}

TEST(HookWatch, TheTickCounterWrapsWithoutAFalseAlarm) {
  HookWatch watch(0xFFFFFF00u);
  EXPECT_FALSE(watch.Lost(0x00000100u, 0x00000010u - 0x20u));  // input at 0xFFFFFFF0: seen 240 ms before
  EXPECT_FALSE(watch.Lost(0x00000100u, 0x00000050u));            // 336 ms after: unseen from here
  EXPECT_TRUE(watch.Lost(0x00000100u + 2000u, 0x00000050u));
}

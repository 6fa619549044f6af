#include "core/activity.h"
#include "core/log_rules.h"
#include "core/schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An interval watch of 5 s whose program is busy from 5 s to 12 s: the
// pictures it takes when a tick comes every 50 ms and each picture waits
// for the program to be free.
std::vector<std::int64_t> PicturesTaken(std::int64_t untilMs) {
  const schedule::Slots slots(0, 5000);
  std::vector<std::int64_t> taken;
  std::int64_t due = 0;
  for (std::int64_t now = 0; now <= untilMs; now += 50) {
    if (now < due || (now >= 5000 && now < 12000)) continue;
    taken.push_back(now);
    due = slots.NextAfter(now);
  }
  return taken;
}

}  // namespace

TEST(Schedule, APictureServedLateTakesItsSlotAndTheNextComesOnTime) {
  // Not 0, 12.00, 12.05, 17.05: the slot of 10 s is served at 12 s, and the
  // next is the one of 15 s.
  EXPECT_EQ(PicturesTaken(21000), (std::vector<std::int64_t>{0, 12000, 15000, 20000}));
}

TEST(Schedule, SlotsAreCountedFromTheStart) {
  const schedule::Slots slots(1000, 100);  // 10 frames a second from 1 s
  EXPECT_EQ(slots.SlotAt(999), -1);
  EXPECT_EQ(slots.SlotAt(1000), 0);
  EXPECT_EQ(slots.SlotAt(1099), 0);
  EXPECT_EQ(slots.SlotAt(1100), 1);
  EXPECT_EQ(slots.NextAfter(1000), 1100);
  EXPECT_EQ(slots.NextAfter(1250), 1300);
  EXPECT_EQ(slots.DueAt(30), 4000);
}

TEST(LogRules, AFailureThatRepeatsIsWrittenOnceAndThenCounted) {
  log_rules::Repeats repeats;
  EXPECT_EQ(repeats.Lines(L"watch: disk full"), (std::vector<std::wstring>{L"watch: disk full"}));
  for (int i = 0; i < 199; ++i) EXPECT_TRUE(repeats.Lines(L"watch: disk full").empty());
  EXPECT_EQ(repeats.Lines(L"recorder: no memory"),
            (std::vector<std::wstring>{L"watch: disk full (repeated 199 more times)", L"recorder: no memory"}));
  EXPECT_TRUE(repeats.Flush().empty());
  repeats.Lines(L"recorder: no memory");
  EXPECT_EQ(repeats.Flush(), (std::vector<std::wstring>{L"recorder: no memory (repeated 1 more times)"}));
}

TEST(LogRules, TheLogIsCutBackBeforeItPassesAMebibyte) {
  EXPECT_FALSE(log_rules::CutBack(1048000, 576));
  EXPECT_TRUE(log_rules::CutBack(1048000, 577));
  EXPECT_EQ(log_rules::kKeptBytes, 524288u);
}

TEST(Activity, TheWayOutIsSeenFromInsideWhatRunsInIt) {
  ActivityState state;
  ActivityState::Scope exiting = state.Start(Activity::Exiting);
  ActivityState::Scope dialog = state.Enter(Activity::Dialog);
  EXPECT_TRUE(state.Within(Activity::Exiting));
  EXPECT_FALSE(state.Within(Activity::Capturing));
  EXPECT_FALSE(state.Start(Activity::Capturing));
  exiting.Leave();
  EXPECT_FALSE(state.Within(Activity::Exiting));
}

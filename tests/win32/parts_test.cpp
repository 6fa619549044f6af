// The watch and the recording below the window level, the failure log and
// the camera's outline when the system refuses a new one.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/area_watch.h"
#include "app/camera_window.h"
#include "app/recorder.h"
#include "core/outline.h"
#include "win/failure_log.h"
#include "win/region.h"
#include "win/screen.h"

namespace {

void PumpFor(int milliseconds) {
  const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (::GetTickCount64() < until) {
    win::PumpPending();
    ::Sleep(10);
  }
}

// Keeps what the watch asked and said, in order; each picture does what
// the test wants of it.
class WatchOwner : public AreaWatch::Owner {
 public:
  geometry::Rect WatchedArea() const override { return {20, 20, 60, 50}; }
  std::vector<geometry::Rect> OwnWindowsShown() const override { return {}; }
  AreaWatch::Picture TakeWatchPicture() override {
    events.push_back(L"picture");
    picture();
    return AreaWatch::Picture::Saved;
  }
  void ShowWatchState(const std::wstring&) override { events.push_back(L"label"); }
  void WatchEnded(const std::wstring& why) override { events.push_back(L"ended: " + why); }
  texts::Language Language() const override { return texts::Language::English; }

  std::function<void()> picture = [] {};
  std::vector<std::wstring> events;
};

}  // namespace

TEST(Watch, APressThatEndsTheWatchWhileAPictureIsWrittenLeavesTheLabelHidden) {
  WatchOwner owner;
  AreaWatch watch(owner);
  // The press comes while the file is written (the writing answers messages).
  owner.picture = [&] { watch.Stop(); };
  ASSERT_TRUE(watch.Start(AreaWatch::Mode::Interval, 5, {}));
  PumpFor(200);
  EXPECT_EQ(owner.events, (std::vector<std::wstring>{L"picture", L"ended: "}));
  EXPECT_EQ(watch.Running(), AreaWatch::Mode::Off);
}

TEST(Watch, APictureThatFailsEndsTheWatchWithTheReasonAndIsNotTriedAgain) {
  WatchOwner owner;
  AreaWatch watch(owner);
  owner.picture = [] { throw std::runtime_error("the disk is gone"); };
  ASSERT_TRUE(watch.Start(AreaWatch::Mode::Changes, 0, {}));
  PumpFor(300);
  EXPECT_EQ(owner.events,
            (std::vector<std::wstring>{L"picture", L"ended: The capture failed.\nthe disk is gone"}));
  EXPECT_EQ(watch.Running(), AreaWatch::Mode::Off);
}

namespace {

class RecordingOwner : public Recorder::Owner {
 public:
  geometry::Rect RecordedArea() const override { return {0, 0, 64, 48}; }
  bool PointerRecorded() const override { return false; }
  const masks::List& HiddenParts() const override { return hidden; }
  masks::List hidden;
  bool Busy() const override { return false; }
  void ShowRecordingState(const std::wstring&) override {}
  void RecordingStopped(const std::wstring&) override { ++stops; }
  texts::Language Language() const override { return texts::Language::English; }
  int stops = 0;
};

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return temp;
}

}  // namespace

TEST(Recording, AStartThatFailsAfterAnEarlierRecordingKeepsNoneOfItsFrames) {
  RecordingOwner owner;
  Recorder recorder(owner);
  std::wstring failure;
  ASSERT_TRUE(recorder.Start({}, TempFolder(), failure)) << failure;
  PumpFor(300);
  recorder.Stop();
  ASSERT_GT(recorder.Frames(), 0);
  ASSERT_EQ(owner.stops, 1);
  // The temporary folder cannot be written now.
  EXPECT_FALSE(recorder.Start({}, TempFolder() + L"no such folder\\", failure));
  EXPECT_FALSE(failure.empty());
  EXPECT_EQ(recorder.Frames(), 0) << "nothing of the last recording is offered for saving";
  EXPECT_FALSE(recorder.Recording());
  EXPECT_EQ(owner.stops, 1);
}

TEST(FailureLog, AFailureThatRepeatsIsWrittenOnceAndTheLogStaysNearAMebibyte) {
  const std::filesystem::path log = win::FailureLogPath();
  std::filesystem::remove(log);
  for (int i = 0; i < 500; ++i) win::LogFailure(L"timer", L"the same failure");
  win::LogFailure(L"timer", L"another one");
  win::FlushFailureLog();
  std::ifstream in(log, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(20));  // after the time
  EXPECT_EQ(lines, (std::vector<std::string>{"timer: the same failure\r", "timer: the same failure (repeated 499 more times)\r",
                                             "timer: another one\r"}));
  in.close();
  // 3,000 different lines of about 500 bytes: 1.5 MB written.
  const std::wstring filler(480, L'x');
  for (int i = 0; i < 3000; ++i) win::LogFailure(L"line " + std::to_wstring(i), filler);
  EXPECT_LE(std::filesystem::file_size(log), 1024u * 1024u);
  EXPECT_GE(std::filesystem::file_size(log), 512u * 1024u);
  std::ifstream again(log, std::ios::binary);
  std::string first, last;
  std::getline(again, first);
  for (std::string line; std::getline(again, line);) last = line;
  EXPECT_EQ(first.substr(19, 6), " line ") << "the log starts at a line's start";
  EXPECT_EQ(last.substr(20, 10), "line 2999:");
  again.close();
  std::filesystem::remove(log);
}

TEST(Shapes, AnOutlineTheSystemRefusesLeavesTheOneBefore) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"Camera", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(ApplyOutline(window, outline::CameraRects()), nullptr);
  HRGN before = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(window, before), ERROR);
  EXPECT_STREQ(ApplyOutline(window, {}), L"It failed in reading of region data.");
  HRGN after = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(window, after), ERROR);
  EXPECT_TRUE(::EqualRgn(before, after));
  ::DeleteObject(before);
  ::DeleteObject(after);
  ::DestroyWindow(window);
}

// A script's command, run: a capture of the frame (or of an area, or of a
// kept frame) into a file as a quick capture writes it, a watch into a
// folder, or a recording into a file. What it prints and its exit code go
// to the one who asked once it has ended. In a Kirasoe that shows its
// windows, they step aside for the capture and keep off what is watched or
// recorded; without them, nothing of ours is on the screen anyway.
#pragma once

#include <functional>
#include <string>

#include "app/area_watch.h"
#include "app/own_windows.h"
#include "app/recorder.h"
#include "app/save_flow.h"
#include "app/series_writer.h"
#include "app/voice.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/command_line.h"
#include "core/settings_store.h"
#include "win/bitmap_buffer.h"
#include "win/ticker.h"

class CommandRunner : public AreaWatch::Owner, public Recorder::Owner {
 public:
  struct Needs {
    ActivityState& activity;
    const settings::Store& store;
    const CaptureArea& frame;
    OwnWindows* windows;  // null: nothing of ours shows
    const win::Window& dialogOwner;
  };
  using Done = std::function<void(const command_line::Outcome&)>;
  explicit CommandRunner(const Needs& needs);

  // Runs `command` (one at a time); `done` gets its outcome once, when it
  // has ended, which for a capture is before Run returns.
  void Run(const command_line::Command& command, Done done);
  // A delayed capture, a watch or a recording is under way.
  bool Running() const { return static_cast<bool>(done_); }
  // Ends it: a delayed capture is not taken, a watch ends after the picture
  // being written, a recording is written to its file.
  void Stop();
  // The same, and any file being written is complete.
  void StopForExit();

  // AreaWatch::Owner.
  geometry::Rect WatchedArea() const override { return area_.Pixels(); }
  std::vector<geometry::Rect> OwnWindowsShown() const override;
  AreaWatch::Picture TakeWatchPicture() override;
  void ShowWatchState(const std::wstring& text) override;
  void WatchEnded(const std::wstring& why) override;
  texts::Language Language() const override { return voice_.Language(); }

  // Recorder::Owner.
  geometry::Rect RecordedArea() const override { return area_.Pixels(); }
  bool PointerRecorded() const override { return Pointer(); }
  const masks::List& HiddenParts() const override { return masks_; }
  bool Busy() const override { return needs_.activity.Busy(); }
  void ShowRecordingState(const std::wstring& text) override { ShowWatchState(text); }
  void RecordingStopped(const std::wstring& why) override;

 private:
  // The area and the masks the command names; false when it names none.
  bool ChooseArea();
  bool Pointer() const { return command_.pointer || needs_.store.options.pointer; }
  void Capture();
  // The picture of the area with the pointer and the masks.
  bool Take();
  void Deliver();
  void Delivered(const std::wstring& path);
  // Where the series goes: /out's folder, or the quick capture's.
  bool ChooseSeries(const std::wstring& folder);
  void StartWatch();
  AreaWatch::Picture TakeOneWatchPicture();
  void StartRecording();
  void WriteRecording();
  std::wstring RecordingPath();
  void KeepOff();
  void GiveBack();
  void Fail(const std::wstring& why);
  void End();

  Needs needs_;
  Voice::Report report_;
  Voice voice_;
  SaveFlow saves_;
  settings::State seriesData_;  // the series' folder, name and type for this command
  SeriesWriter series_{seriesData_, saves_, voice_};
  command_line::Command command_;
  command_line::Outcome outcome_;
  Done done_;
  CaptureArea area_;
  masks::List masks_;
  win::BitmapBuffer picture_;
  win::Ticker delay_{L"command delay"};
  bool takingPicture_ = false, endAfterPicture_ = false;
  AreaWatch watch_{*this};
  Recorder recorder_{*this};
};

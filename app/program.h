// The program: owns the settings, the capture area and what the program is
// busy with for the whole run, and the windows that show them. Every way out
// (a close, 終了, the end of the session) goes through Exit, which writes the
// settings once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/area_watch.h"
#include "app/camera_window.h"
#include "app/countdown.h"
#include "app/frame_window.h"
#include "app/hotkeys.h"
#include "app/info_label.h"
#include "app/popup_menu.h"
#include "app/preview_window.h"
#include "app/recorder.h"
#include "app/saver.h"
#include "app/window_picker.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/kept_frames.h"
#include "core/options.h"
#include "core/save_names.h"
#include "core/settings_store.h"
#include "win/bitmap_buffer.h"
#include "win/image_writer.h"
#include "win/profile.h"

class Program : public CameraWindow::Owner,
                public FrameWindow::Owner,
                public Countdown::Owner,
                public WindowPicker::Owner,
                public AreaWatch::Owner,
                public Recorder::Owner {
 public:
  Program();
  // Reads the settings and shows the camera and the frame; without the
  // image library it says so and ends without touching the settings.
  void Start();
  [[noreturn]] void Exit();

  // A capture, a drag of the frame or the camera, the menu or a dialog of
  // ours is under way: a double-click, a hotkey or a key does nothing.
  bool Busy() const override { return activity_.Busy() || frame_.Resizing(); }

  // The capture from the flash to the end; `quick` saves without a dialog
  // under the next number of a series.
  void Capture(bool quick);
  // Hides the own windows, copies the capture area into the picture (and
  // runs `whenCopied` then), shows them again and puts the picture on the
  // clipboard; false when nothing was copied (the user has been told).
  bool CopyScreen(const std::function<void()>& whenCopied = {});

  // Writes the picture on a thread of its own while this one keeps
  // answering the system; returns when the file is complete.
  win::WriteOutcome WriteWhileAnswering(const save_names::FileType& type, const std::wstring& path);
  bool Saving() const override { return saver_.Pending(); }

  const CaptureArea& Area() const { return area_; }
  void SetArea(const geometry::Rect& pixels);
  const win::BitmapBuffer& Picture() const { return picture_; }
  HWND CameraHandle() const { return camera_.hwnd(); }
  HWND FrameHandle() const { return frame_.hwnd(); }

  // CameraWindow::Owner and FrameWindow::Owner.
  void CaptureRequested(bool quick) override;
  bool CameraPressed() override;
  void HotKeyPressed(int id) override;
  void MenuRequested(HWND on) override;
  void FrameKey(int dx, int dy, bool resize, bool big) override;
  void PointerOverCamera() override;
  // A move runs inside whatever runs (the frame dragged while the save
  // dialog is open) and gives it back when it ends.
  void SystemMoveStarted() override { moving_ = activity_.Enter(Activity::MovingWindow); }
  void SystemMoveEnded() override { moving_.Leave(); }
  void ExitRequested() override { Exit(); }
  void FrameChanged(const geometry::Rect& pixels) override;
  void FrameMoving() override { ShowFrameSize(); }
  // The area is what the user chose: a frame moved by anything else goes
  // back to it, so that the frame always shows what is captured.
  void FrameMovedBySystem(const geometry::Rect&) override { frame_.Layout(area_); }
  void DisplayChanged() override;

  // Countdown::Owner and WindowPicker::Owner.
  geometry::Rect CountdownAnchor() const override { return frame_.Bounds(); }
  bool CountdownEnded(bool quick) override;
  void PickShown(const geometry::Rect& pixels) override;
  void PickEnded(const std::optional<geometry::Rect>& taken) override;

  // AreaWatch::Owner.
  geometry::Rect WatchedArea() const override { return area_.Pixels(); }
  std::vector<geometry::Rect> OwnWindowsShown() const override;
  AreaWatch::Picture TakeWatchPicture() override;
  void ShowWatchState(const std::wstring& text) override;
  void WatchEnded(const std::wstring& why) override;

  // Recorder::Owner.
  geometry::Rect RecordedArea() const override { return area_.Pixels(); }
  bool PointerRecorded() const override { return store_.options.pointer; }
  void ShowRecordingState(const std::wstring& text) override;
  void RecordingStopped(const std::wstring& why) override;

  // The language of every text shown from now on: the one chosen in 設定,
  // or the user's own.
  texts::Language Language() const override;
  std::wstring Say(texts::Id id) const { return texts::Get(id, Language()); }

  const kept_frames::List& KeptFrames() const { return store_.kept; }

 private:
  // The settings read, or a first start's; the camera's place.
  geometry::Rect RestoreOrFirstStart();
  void KeepFrameReachable();
  void OpenWindows();
  void RunMenuCommand(const MenuChoice& choice);
  // The submenu 「フレーム」.
  void RunFrameCommand(const MenuChoice& choice);
  void StartCountdown(int seconds, bool quick);
  // A watch of the area: started, switched to the other mode, or stopped
  // when it is the one running.
  void ToggleWatch(AreaWatch::Mode mode, int seconds);
  // Starts a recording of the area, or stops the one running.
  void ToggleRecording();
  // The windows of ours over the area go while it is recorded.
  void HideWindowsOverArea();
  // Asks where the recording goes and writes it, until it is saved or the
  // user lets it go.
  void SaveRecording();
  // One try of the save dialog: true when the recording is done with.
  bool SaveRecordingOnce();
  // The series has a folder and a name, chosen in the save dialog when the
  // settings have none; false when the user cancelled.
  bool ChooseSeries();
  void AskPosition();
  void StartPicking();
  void KeepFrame();
  void UseKeptFrame(int index);
  // The submenu 「設定」 and the options it sets.
  void RunSettingsCommand(const MenuChoice& choice);
  // The window the user works in, to get the focus back after a capture.
  void RememberForeground();
  void ShowFrameSize();
  // The flash over the area, for a moment before the copy.
  void Flash();
  void HideOwnWindows();
  void ShowOwnWindows();
  void SaveWithDialog();
  // A picture on its way into the numbered series: written under a
  // temporary name first, then given the next free name.
  struct SeriesWrite {
    const save_names::FileType* type = nullptr;
    std::wstring folder, name, temporary;
    std::vector<std::wstring> entries;
    win::WriteOutcome failure;  // why the write did not start
  };
  SeriesWrite StartSeriesWrite();
  bool FinishSeriesWrite(const SeriesWrite& write);
  // A quick capture can go to a series: the last folder exists and the
  // name is one a series can have (else the user is told).
  bool SeriesPossible();
  std::wstring SeriesName() const;
  void ShowPreview();
  // Writes the settings file; false, and the user told, when it cannot be
  // written.
  bool WriteSettings();
  // A message of ours, a question: nothing else starts while it is open.
  void Tell(const std::wstring& text);
  bool Ask(const std::wstring& question);

  win::ProfileFile settingsFile_;
  settings::Store store_{settingsFile_};
  CaptureArea area_;
  ActivityState activity_;
  ActivityState::Scope moving_, picking_;
  HWND previousForeground_ = nullptr;  // the window the focus goes back to after a capture
  win::BitmapBuffer picture_;          // the capture, never seen
  save_names::FoldCase foldFileName_;
  CameraWindow camera_;
  FrameWindow frame_;
  PreviewWindow preview_;
  InfoLabel notice_, sizeLabel_, watchLabel_;
  HotKeys hotKeys_;
  Countdown countdown_;
  WindowPicker picker_;
  AreaWatch watch_;
  Recorder recorder_;
  std::vector<win::Window*> hiddenForRecording_;
  bool exiting_ = false;
  CaptureArea beforePicking_;  // the area a cancelled pick goes back to
  Saver saver_;
};

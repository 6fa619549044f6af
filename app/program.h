// The program conducts: it starts, owns the settings, the capture area and
// what the program is busy with, wires the parts that do the work, routes
// the windows' requests and the menu's commands to them, and is the one way
// out: a close, 終了 and the end of the session all go through Exit, which
// writes the settings once.
#pragma once

#include <windows.h>

#include "app/area_selection.h"
#include "app/camera_window.h"
#include "app/capture_sequence.h"
#include "app/command_port.h"
#include "app/command_runner.h"
#include "app/frame_commands.h"
#include "app/frame_window.h"
#include "app/own_windows.h"
#include "app/picture_editor.h"
#include "app/popup_menu.h"
#include "app/recording_session.h"
#include "app/save_flow.h"
#include "app/series_writer.h"
#include "app/settings_commands.h"
#include "app/watching.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/settings_store.h"
#include "win/profile.h"

class Program : public CameraWindow::Owner, public FrameWindow::Owner {
 public:
  Program();
  // Reads the settings and shows the camera and the frame; without the
  // image library it says so and ends without touching the settings.
  void Start();
  // Ends what runs, writes the settings and ends the process; a close
  // while a recording's save dialog of the exit is open waits for it.
  void Exit(bool sessionEnding = false);

  // CameraWindow::Owner and FrameWindow::Owner.
  void CaptureRequested(bool quick) override;
  bool CameraPressed() override;
  void HotKeyPressed(int id) override;
  void MenuRequested(HWND on) override;
  void FrameKey(int dx, int dy, bool resize, bool big) override;
  void PointerOverCamera() override { capture_.PointerOverCamera(); }
  // A move runs inside whatever runs (the frame dragged while the save
  // dialog is open) and gives it back when it ends.
  void SystemMoveStarted() override { moving_ = activity_.Enter(Activity::MovingWindow); }
  void SystemMoveEnded() override { moving_.Leave(); }
  void ExitRequested(bool sessionEnding) override { Exit(sessionEnding); }
  void DisplayChanged() override;
  bool Saving() const override { return saves_.Writing(); }
  void FrameChanged(const geometry::Rect& pixels) override;
  void FrameMoving() override { windows_.ShowSize(area_); }
  // The area is what the user chose: a frame moved by anything else goes
  // back to it, so that the frame always shows what is captured.
  void FrameMovedBySystem(const geometry::Rect&) override { windows_.frame.Layout(area_); }

 private:
  // A capture, a drag, the menu or a dialog of ours is under way: a
  // double-click, a hotkey, a key or a countdown starts nothing.
  // So is a watch or a recording a script's command started.
  bool Busy() const { return activity_.Busy() || windows_.frame.Resizing() || commandRunner_.Running(); }
  // The camera in front, for a second start of Kirasoe.
  bool BringToFront();
  // The settings read, or a first start's; the camera's place.
  geometry::Rect RestoreOrFirstStart();
  void KeepFrameReachable();
  void OpenWindows();
  MenuState MenuNow() const;
  void RunMenuCommand(const MenuChoice& choice);
  void ShowVersion();
  // Writes the settings file; false, and the user told, when it cannot be
  // written.
  bool WriteSettings();
  Voice Speaker() { return Voice(activity_, settings_.store.options); }

  struct Settings {
    win::ProfileFile file;
    settings::Store store{file};
  } settings_;
  CaptureArea area_;
  ActivityState activity_;
  ActivityState::Scope moving_;
  OwnWindows windows_;
  SettingsCommands settingsCommands_;
  SaveFlow saves_;
  SeriesWriter series_;
  PictureEditor editor_;
  CaptureSequence capture_;
  FrameCommands frameCommands_;
  Watching watching_;
  RecordingSession recording_;
  AreaSelection selection_;
  CommandRunner commandRunner_;
  CommandPort commands_;
};

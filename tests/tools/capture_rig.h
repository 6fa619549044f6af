// The program's capture parts with their windows on the screen, as the
// program wires them, for the Windows tests and the benchmarks: the camera
// and the frame shown, no settings file, the windows' requests going nowhere.
#pragma once

#include "app/capture_sequence.h"
#include "app/screen_capture.h"

class NoSettingsFile : public settings::File {
 public:
  std::wstring Read(const std::wstring&, const std::wstring&) override { return {}; }
  bool Write(const std::wstring&, const std::wstring&, const settings::Text&) override { return true; }
};

class QuietOwners : public CameraWindow::Owner, public FrameWindow::Owner {
 public:
  void CaptureRequested(bool) override {}
  bool CameraPressed() override { return false; }
  void HotKeyPressed(int) override {}
  void MenuRequested(HWND) override {}
  void FrameKey(int, int, bool, bool) override {}
  void PointerOverCamera() override {}
  void SystemMoveStarted() override {}
  void SystemMoveEnded() override {}
  void ExitRequested(bool) override {}
  void DisplayChanged() override {}
  bool Saving() const override { return false; }
  void FrameChanged(const geometry::Rect&) override {}
  void FrameMoving() override {}
  void FrameMovedBySystem(const geometry::Rect&) override {}
};

struct CaptureRig {
  NoSettingsFile file;
  settings::Store store{file};
  ActivityState activity;
  CaptureArea area;
  QuietOwners owners;
  OwnWindows windows{owners, owners};
  Voice voice{activity, store.options};
  ScreenCapture screen{windows, voice};
  SaveFlow saves{voice, windows.camera};
  SeriesWriter series{store.data, saves, voice};
  PictureEditor editor{{voice, windows.camera, [this](const masks::Mask& mask) { store.masks.push_back(mask); }}};
  CaptureSequence capture{{activity, area, store, windows, saves, series, editor, voice}};

  explicit CaptureRig(const geometry::Rect& camera) {
    windows.camera.Open(camera);
    windows.frame.Open(area, FrameColour(1));
    windows.frame.Show();
    windows.camera.Show();
  }
  void SetArea(const geometry::Rect& pixels) {
    area.Set(pixels);
    windows.frame.Layout(area);
  }
};

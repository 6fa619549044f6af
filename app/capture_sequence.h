// The capture, in the order the user sees it: the flash, our windows
// stepping aside, exactly the framed pixels copied, the windows back, the
// picture on the clipboard, the preview, and the save dialog (or the next
// number of the series, for a quick capture); then the focus goes back to
// the window the user works in.
#pragma once

#include <windows.h>

#include <functional>

#include "app/own_windows.h"
#include "app/picture_editor.h"
#include "app/save_flow.h"
#include "app/screen_capture.h"
#include "app/series_writer.h"
#include "app/voice.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/settings_store.h"
#include "win/bitmap_buffer.h"

class CaptureSequence {
 public:
  struct Needs {
    ActivityState& activity;
    const CaptureArea& area;
    settings::Store& store;
    OwnWindows& windows;
    SaveFlow& saves;
    SeriesWriter& series;
    PictureEditor& editor;
    Voice voice;
  };
  explicit CaptureSequence(const Needs& needs) : needs_(needs), screen_(needs.windows, needs.voice) {}

  // Runs the capture; false when something else runs (nothing started).
  bool Run(bool quick);
  // The same from a hotkey or a countdown: whatever program is in front
  // gets the focus back afterwards.
  bool RunForFront(bool quick);
  // The capture of the area from a screen held still: `copy` makes the
  // picture. `front`, when there is one, gets the focus back.
  using CopyStill = std::function<bool(win::BitmapBuffer& picture)>;
  bool RunFromStill(bool quick, HWND front, const CopyStill& copy);
  // Opens the last capture in the editor, and its 保存 goes on to the save
  // dialog; false when there is none or something else runs.
  bool EditLast();
  bool HasPicture() const { return Picture().dc() != nullptr; }
  // The window the focus goes back to after a capture from the menu.
  HWND UsersWindow() const { return previousForeground_; }
  // The pointer came over the camera: the window in front is the one the
  // user works in (hovering does not activate the camera).
  void PointerOverCamera();

 private:
  void RunSteps(bool quick);
  // The picture of the area: from the screen, or from the one held still.
  bool Copy(const std::function<void()>& whenCopied = {});
  // The flash over the area, for a moment before the copy.
  void Flash();
  const win::BitmapBuffer& Picture() const { return screen_.Picture(); }
  // Runs the editor on the capture: the picture that goes on, edited (and
  // on the clipboard) or as captured.
  const win::BitmapBuffer& Edit();
  // The preview and the save dialog for `picture`.
  void ShowAndSave(const win::BitmapBuffer& picture);
  void ShowPreview(const win::BitmapBuffer& picture);
  void SaveWithDialog(const win::BitmapBuffer& picture);
  // Whatever failed, the user is told, and the next capture can start.
  void Recover();

  Needs needs_;
  ScreenCapture screen_;
  win::BitmapBuffer edited_;  // the capture with its marks, once saved or copied from the editor
  HWND previousForeground_ = nullptr;  // the window the focus goes back to
  const CopyStill* still_ = nullptr;   // while a capture from a screen held still runs
};

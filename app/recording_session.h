// Recording the frame from the submenu 「フレーム」: the recording started
// and stopped, and afterwards written where the user chooses in the save
// dialog 「録画を保存する」, or let go. While it records, the frame is drawn
// outside the area and our other windows keep off it.
#pragma once

#include <string>

#include "app/own_windows.h"
#include "app/recorder.h"
#include "app/save_flow.h"
#include "app/voice.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/settings_store.h"

class RecordingSession : public Recorder::Owner {
 public:
  struct Needs {
    ActivityState& activity;
    const CaptureArea& area;
    settings::Store& store;
    OwnWindows& windows;
    SaveFlow& saves;
    Voice voice;
  };
  explicit RecordingSession(const Needs& needs) : needs_(needs), recorder_(*this) {}

  // Starts a recording of the area, or stops the one running.
  void Toggle();
  void Stop() { recorder_.Stop(); }
  bool Recording() const { return recorder_.Recording(); }
  // At exit: a recording running stops and is offered for saving as at any
  // stop. At the end of the Windows session, where no dialog may wait, it
  // is saved into the recording folder under the next free name instead.
  void StopForExit(bool sessionEnding);

  // Recorder::Owner.
  geometry::Rect RecordedArea() const override { return needs_.area.Pixels(); }
  bool PointerRecorded() const override { return needs_.store.options.pointer; }
  const masks::List& HiddenParts() const override { return needs_.store.masks; }
  bool Busy() const override { return needs_.activity.Busy(); }
  void ShowRecordingState(const std::wstring& text) override { needs_.windows.ShowStatus(text); }
  void RecordingStopped(const std::wstring& why) override;
  texts::Language Language() const override { return needs_.voice.Language(); }

 private:
  // Asks where the recording goes and writes it, until it is saved or the
  // user lets it go.
  void Save();
  // One try of the save dialog: true when the recording is done with.
  bool SaveOnce();
  // Saved without a question, under the next free name; logged.
  void SaveUnasked();

  Needs needs_;
  Recorder recorder_;
  bool unattended_ = false;  // the session ends: no dialog
};

// Watching the frame from the submenu 「フレーム」: the watch started,
// switched or stopped, its pictures taken into the numbered series as a
// quick capture writes them, but without hiding anything and without
// touching the clipboard: while it runs, the frame is drawn outside the
// area and our other windows keep off it.
#pragma once

#include <string>
#include <vector>

#include "app/area_watch.h"
#include "app/own_windows.h"
#include "app/series_writer.h"
#include "app/voice.h"
#include "core/activity.h"
#include "core/capture_area.h"
#include "core/settings_store.h"
#include "win/bitmap_buffer.h"

class Watching : public AreaWatch::Owner {
 public:
  struct Needs {
    ActivityState& activity;
    const CaptureArea& area;
    settings::Store& store;
    OwnWindows& windows;
    SeriesWriter& series;
    Voice voice;
  };
  explicit Watching(const Needs& needs) : needs_(needs), watch_(*this) {}

  // Starts a watch in `mode`, switches to it from the other one, or stops
  // it when it is the one running.
  void Toggle(AreaWatch::Mode mode, int seconds);
  // Ends a watch running, after the picture being written.
  void Stop() { watch_.Stop(); }
  AreaWatch::Mode Running() const { return watch_.Running(); }
  int IntervalSeconds() const { return watch_.IntervalSeconds(); }

  // AreaWatch::Owner.
  geometry::Rect WatchedArea() const override { return needs_.area.Pixels(); }
  std::vector<geometry::Rect> OwnWindowsShown() const override { return needs_.windows.Shown(); }
  AreaWatch::Picture TakeWatchPicture() override;
  void ShowWatchState(const std::wstring& text) override { needs_.windows.ShowStatus(text); }
  void WatchEnded(const std::wstring& why) override;
  texts::Language Language() const override { return needs_.voice.Language(); }

 private:
  Needs needs_;
  AreaWatch watch_;
  win::BitmapBuffer picture_;
};

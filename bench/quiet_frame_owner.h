// A frame owner for the benchmarks: the frame's requests go nowhere.
#pragma once

#include "app/frame_window.h"

class QuietFrameOwner : public FrameWindow::Owner {
 public:
  void FrameChanged(const geometry::Rect&) override {}
  void FrameMoving() override {}
  void FrameMovedBySystem(const geometry::Rect&) override {}
  void MenuRequested(HWND) override {}
  void SystemMoveStarted() override {}
  void SystemMoveEnded() override {}
  void ExitRequested(bool) override {}
};

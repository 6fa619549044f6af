// Kirasoe's windows on the screen: the camera, the frame, the preview and
// the labels beside them. None of them may ever be in a picture: they step
// aside for a capture, and keep off the area while it is watched or
// recorded, so that those take their pictures without hiding anything.
#pragma once

#include <string>
#include <vector>

#include "app/camera_window.h"
#include "app/frame_window.h"
#include "app/info_label.h"
#include "app/preview_window.h"
#include "core/capture_area.h"

class OwnWindows {
 public:
  OwnWindows(CameraWindow::Owner& cameraOwner, FrameWindow::Owner& frameOwner)
      : camera(cameraOwner), frame(frameOwner) {}

  CameraWindow camera;
  FrameWindow frame;
  PreviewWindow preview;
  InfoLabel notice{L"Kirasoe.Notice"};
  InfoLabel sizeLabel{L"Kirasoe.SizeLabel"};
  // The state of a watch or a recording, beside the frame.
  InfoLabel statusLabel{L"Kirasoe.WatchLabel"};

  // For a capture: all of them hidden. ComeBack shows the camera and the
  // frame again.
  void StepAside();
  void ComeBack();
  // The screen rectangles of those that show now.
  std::vector<geometry::Rect> Shown() const;

  // While the area is watched or recorded: the frame red, a plain ring
  // drawn just outside the area, and every window of ours over the area
  // hidden. Called again, it hides those that have come over it since.
  void KeepOff(const CaptureArea& area);
  // The frame in `colour` on the area again, and the hidden ones back.
  void GiveBack(const CaptureArea& area, COLORREF colour);
  bool KeepingOff() const { return keepingOff_; }

  // The name of a file saved, beside the camera for a moment.
  void ShowNotice(const std::wstring& file);
  // The frame's size, beside it for a second.
  void ShowSize(const CaptureArea& area);
  // The state of a watch or a recording, until hidden.
  void ShowStatus(const std::wstring& text);

 private:
  std::vector<win::Window*> hidden_;
  bool keepingOff_ = false;
};

#include "app/area_selection.h"

#include "win/failure_log.h"
#include "win/files.h"
#include "win/screen.h"

bool AreaSelection::Start(bool capture, HWND front) {
  if (needs_.watchingOrRecording()) {
    needs_.voice.Tell(needs_.voice.Say(texts::Id::NoSelectionNow));
    return false;
  }
  selecting_ = needs_.activity.Start(Activity::Selecting);
  if (!selecting_) return false;
  captureAfter_ = capture;
  front_ = front;
  // None of our windows may be in the screen held: they leave it, and what
  // they covered repaints, before it is copied.
  needs_.windows.StepAside();
  win::PumpPending();
  win::SettleScreen();
  win::PumpPending();
  if (!still_.Take(win::VirtualScreen())) {
    Failed(texts::Id::PictureNotTaken);
    return false;
  }
  if (!selector_.Start(still_)) {
    win::LogFailure(L"selection", L"the window: " + win::SystemMessage(::GetLastError()));
    Failed(texts::Id::CaptureFailed);
    return false;
  }
  return true;
}

void AreaSelection::Failed(texts::Id what) {
  still_.Release();
  needs_.windows.ComeBack();
  selecting_.Leave();
  needs_.voice.Tell(needs_.voice.Say(what));
}

void AreaSelection::Cancel() {
  if (!selector_.Selecting()) return;
  selector_.Stop();
  SelectionEnded(std::nullopt, false);
}

void AreaSelection::SelectionEnded(const std::optional<geometry::Rect>& marked, bool shift) {
  // The frame comes back where it was, or on the area marked; the screen
  // held goes once the capture has its picture.
  if (marked) needs_.place(*marked);
  needs_.windows.ComeBack();
  selecting_.Leave();
  if (marked && captureAfter_) {
    const geometry::Rect area = *marked;
    needs_.capture(shift, front_, [this, area](win::BitmapBuffer& picture) { return still_.CopyOut(area, picture); });
  }
  still_.Release();
  if (front_ && !(marked && captureAfter_)) {
    // The windows shown again take the focus as they come back; the focus
    // goes back after that.
    win::PumpPending();
    ::SetForegroundWindow(front_);
  }
}

// The capture, from the flash to the saved file, in the order the user sees
// it: flash, own windows hidden, the exact pixels copied, windows back,
// clipboard, preview, save.
#include "app/capture_flash.h"
#include "app/program.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/screen.h"
#include "win/screen_copy.h"

void Program::Capture(bool quick) {
  if (Busy() || recorder_.Recording()) return;
  const ActivityState::Scope busy = activity_.Start(Activity::Capturing);
  try {
    // Without a folder to go to, a quick capture is the normal one; a
    // message about the name comes before the flash.
    const bool toSeries = quick && SeriesPossible();
    Flash();
    if (toSeries) {
      // The file is written while the windows come back and the clipboard
      // is offered the picture.
      SeriesWrite write;
      if (!CopyScreen([&] { write = StartSeriesWrite(); })) return;
      FinishSeriesWrite(write);
    } else {
      if (!CopyScreen()) return;
      if (store_.data.preview) ShowPreview();
      SaveWithDialog();
      if (store_.data.preview) preview_.Close();
    }
    ::SetForegroundWindow(previousForeground_);
  } catch (...) {
    // Whatever failed, the windows come back, the user is told, and the
    // next capture can start.
    const std::wstring what = win::CurrentExceptionText();
    win::LogFailure(L"capture", what);
    ShowOwnWindows();
    // A file already on its way is completed, so that the next can start.
    if (saver_.Pending()) saver_.Finish();
    Tell(Say(texts::Id::CaptureFailed) + (L"\n" + what));
  }
}

void Program::Flash() {
  CaptureFlash flash;
  flash.Open(area_.Pixels());
  // The flash is painted before the pause, and gone (destroyed) after it:
  // a window destroyed leaves at once, where Wine waits for a hidden one.
  win::PumpPending();
  ::Sleep(50);
}

void Program::HideOwnWindows() {
  // The labels beside the camera and the frame are never part of a picture.
  notice_.Hide();
  sizeLabel_.Hide();
  watchLabel_.Hide();
  camera_.Hide();
  frame_.Hide();
}

void Program::ShowOwnWindows() {
  camera_.Show();
  frame_.Show();
}

bool Program::CopyScreen(const std::function<void()>& whenCopied) {
  if (area_.Empty()) {
    ShowOwnWindows();
    Tell(Say(texts::Id::NoCaptureArea));
    return false;
  }
  // What came meanwhile (a close during the flash) is answered first: the
  // windows stepping aside may take Wine a second each without a window
  // manager.
  win::PumpPending();
  HideOwnWindows();
  // The flash and the hidden windows must have left the screen, and the
  // windows beneath them must have repainted, before it is read: that takes
  // the message loop, and the screen's next composition.
  win::PumpPending();
  win::SettleScreen();
  win::PumpPending();
  // What the clipboard offers is made from the picture: not from the one
  // being replaced.
  win::clipboard::Withdraw();
  const bool copied = win::CopyScreen(picture_, area_.Pixels());
  if (copied && store_.options.pointer) win::DrawPointer(picture_, area_.Pixels());
  if (copied && whenCopied) whenCopied();
  ShowOwnWindows();
  win::PumpPending();
  if (!copied) {
    Tell(Say(texts::Id::PictureNotTaken));
    return false;
  }
  // The clipboard is an output: when another program holds it, the user is
  // told, and the capture is still saved from the picture.
  if (!win::clipboard::Offer(picture_)) Tell(Say(texts::Id::ClipboardFailed));
  win::PumpPending();
  return true;
}

void Program::ShowPreview() {
  const twips::Scale scale = win::CurrentScale();
  preview_.ShowPicture(picture_.Copy(), {twips::ToPixels(store_.preview.left, scale.x),
                                         twips::ToPixels(store_.preview.top, scale.y)});
}

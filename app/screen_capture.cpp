#include "app/screen_capture.h"

#include "win/clipboard.h"
#include "win/screen.h"
#include "win/screen_copy.h"

bool ScreenCapture::Take(const CaptureArea& area, bool pointer, const std::function<void()>& whenCopied) {
  if (area.Empty()) {
    windows_.ComeBack();
    voice_.Tell(voice_.Say(texts::Id::NoCaptureArea));
    return false;
  }
  // What came meanwhile (a close during the flash) is answered first: the
  // windows stepping aside may take Wine a second each without a window
  // manager.
  win::PumpPending();
  windows_.StepAside();
  // The flash and the hidden windows must have left the screen, and the
  // windows beneath them must have repainted, before it is read: that takes
  // the message loop, and the screen's next composition.
  win::PumpPending();
  win::SettleScreen();
  win::PumpPending();
  // What the clipboard offers is made from the picture: not from the one
  // being replaced.
  win::clipboard::Withdraw();
  return Finish(win::CopyScreen(picture_, area.Pixels()), area, pointer, whenCopied);
}

bool ScreenCapture::Use(const std::function<bool(win::BitmapBuffer&)>& copy, const CaptureArea& area, bool pointer,
                        const std::function<void()>& whenCopied) {
  win::clipboard::Withdraw();
  return Finish(copy(picture_), area, pointer, whenCopied);
}

bool ScreenCapture::Finish(bool copied, const CaptureArea& area, bool pointer, const std::function<void()>& whenCopied) {
  if (copied && pointer) win::DrawPointer(picture_, area.Pixels());
  // The hidden parts are covered last, over the pointer too.
  copied = copied && win::HideMasked(picture_, masks_);
  if (copied && whenCopied) whenCopied();
  windows_.ComeBack();
  win::PumpPending();
  if (!copied) {
    voice_.Tell(voice_.Say(texts::Id::PictureNotTaken));
    return false;
  }
  // The clipboard is an output: when another program holds it, the user is
  // told, and the capture is still saved from the picture.
  if (!win::clipboard::Offer(picture_)) voice_.Tell(voice_.Say(texts::Id::ClipboardFailed));
  win::PumpPending();
  return true;
}

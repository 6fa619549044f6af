#include "app/Form1.h"

#include "app/Form4.h"
#include "app/SaveFlow.h"
#include "app/Globals.h"
#include "frame/Form3.h"
#include "output/imgctl.h"
#include "output/imgctl_util.h"
#include "output/mod_OpenSaveFile.h"
#include "shape/mod_RGN_Proc.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Twips.h"
#include "ui/Form2.h"
#include "ui/frmMenu.h"

namespace kirasoe {

namespace uf = mod_RGN_UserFunction;

Form1Class& Form1 = *new Form1Class;  // lives until the process ends

Form1Class::Form1Class() : tk::Form({.name = L"Form1", .caption = L"Kirasoe"}) {}

void Form1Class::Form_Load() {
  tk::DisableTransitions(hWnd());
  try {
    imgctl::ImgctlVersion();  // proves that the image library can be called
    uf::SetTopmost(*this, false);
    mod_RGN_Proc::SetFormShape(0, *this, true);
    auto stored = settings::ReadStored([](const std::wstring& key) { return uf::ReadIni(settings::kSection, key); });
    if (stored) {
      RestoreStored(*stored);
      KeepReachable();
    } else {
      ComputeFirstStart();
    }
    Form3.Visible(true);
  } catch (...) {
    tk::MsgBox(L"imgctl.dllが組み込まれていません。");
    tk::End();
  }
}

void Form1Class::RestoreStored(const settings::State& stored) {
  Left(stored.left);
  Top(stored.top);
  LFName = stored.lfName;
  LFPath = stored.lfPath;
  LFType = stored.lfType;
  LineC = stored.lineC;
  SnapX = stored.snap.x;
  SnapY = stored.snap.y;
  SnapW = stored.snap.w;
  SnapH = stored.snap.h;
  frmMenu.mpre().checked = stored.preview;
}

void Form1Class::KeepReachable() {
  // A monitor unplugged since the last run can leave the camera or the frame
  // where no monitor shows them, and their menu is the only way to the rest.
  tk::Screen::BringOnScreen(*this);
  RECT camera{};
  ::GetWindowRect(hWnd(), &camera);
  const double tppX = tk::Screen::TwipsPerPixelX(), tppY = tk::Screen::TwipsPerPixelY();
  const placement::Rect frame{uf::TwipsToPixelsX(SnapX), uf::TwipsToPixelsY(SnapY),
                              uf::TwipsToPixelsX(SnapX) + uf::TwipsToPixelsX(SnapW),
                              uf::TwipsToPixelsY(SnapY) + uf::TwipsToPixelsY(SnapH)};
  if (auto back = placement::BringFrameBack(frame, {camera.left, camera.top, camera.right, camera.bottom},
                                            tk::Screen::Monitors())) {
    SnapX = twips::FromPixels(back->left, tppX);
    SnapY = twips::FromPixels(back->top, tppY);
    if (back->Width() != frame.Width()) SnapW = twips::FromPixels(back->Width(), tppX);
    if (back->Height() != frame.Height()) SnapH = twips::FromPixels(back->Height(), tppY);
  }
}

void Form1Class::ComputeFirstStart() {
  auto pos = settings::FirstStartPosition(tk::Screen::Width(), Width(), mod_RGN_Proc::GetUsableScreenHeight(), Height());
  Left(pos.left);
  Top(pos.top);
  // The window's actual position, after rounding to whole pixels.
  auto first = settings::FirstStartState(Left(), Top(), tk::Screen::TwipsPerPixelX(), tk::Screen::TwipsPerPixelY());
  LineC = first.lineC;
  SnapX = first.snap.x;
  SnapY = first.snap.y;
  SnapW = first.snap.w;
  SnapH = first.snap.h;
}

void Form1Class::Form_QueryUnload(int& /*cancel*/, int /*mode*/) {
  settings::State s;
  s.left = Left();
  s.top = Top();
  s.snap = {SnapX, SnapY, SnapW, SnapH};
  s.lfName = LFName;
  s.lfPath = LFPath;
  s.lfType = LFType;
  s.lineC = LineC;
  s.preview = frmMenu.mpre().checked;
  for (const auto& [key, value] : settings::ExitWrites(s)) uf::WriteIni(settings::kSection, key, value);
  uf::UnloadOtherForms(Name());
  tk::End();
}

}  // namespace kirasoe

namespace kirasoe {

void Form1Class::Form_MouseDown(short button, short /*shift*/, float /*x*/, float /*y*/) {
  if (button == 2) frmMenu.Popup(*this);
  if (button == 1) {
    DownX = uf::GetCursorXTwips();
    DownY = uf::GetCursorYTwips();
    ButtonState = L"DOWN";
  }
  // A release, a double-click or a move already queued is handled before returning.
  tk::DoEvents();
}

void Form1Class::Form_MouseMove(short button, short /*shift*/, float /*x*/, float /*y*/) {
  if (ButtonState != L"DOWN") {
    // Hovering does not activate this window: the window the user works in is
    // still the foreground window, and gets the focus back after a capture.
    const bool capturing = Capturing != 0;
    const bool other = ::GetForegroundWindow() != hWnd();
    if (!capturing && other) PrevForeground = ::GetForegroundWindow();
  } else if (button == 1) {
    const std::int32_t y = uf::GetCursorYTwips();
    const std::int32_t x = uf::GetCursorXTwips();
    if (y != DownY || x != DownX) {
      uf::DragForm(*this);
      ButtonState = L"UP";
    }
  }
}

void Form1Class::Form_MouseUp(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) { ButtonState = L"UP"; }

void Form1Class::Form_DblClick() {
  if (Capturing != 0) return;
  Capturing = 1.0f;
  try {
    ShowCaptureFlash();
    uf::WaitMs(50);
    Form4.Unload();
    CaptureArea();
  } catch (...) {
    // Whatever failed, the windows come back and the next capture can start.
    Form4.Unload();
    Visible(true);
    Form3.Visible(true);
  }
  Capturing = 0;
}

void Form1Class::ShowCaptureFlash() {
  Form4.Left(static_cast<float>(SnapX));
  Form4.Top(static_cast<float>(SnapY));
  Form4.Width(static_cast<float>(SnapW));
  Form4.Height(static_cast<float>(SnapH));
  Form4.ShowNoActivate();
}

void Form1Class::CaptureArea() {
  if (!CopyScreenArea()) return;
  if (frmMenu.mpre().checked) ShowPreview();
  SaveCapture();
  if (frmMenu.mpre().checked) HidePreview();
  ::SetForegroundWindow(PrevForeground);
}

bool Form1Class::CopyScreenArea() {
  if (SnapW == 0 || SnapH == 0) {
    tk::MsgBox(L"取得エリアが設定されていません");
    return false;
  }
  Visible(false);
  Form3.Visible(false);
  tk::DoEvents();
  // The flash and the hidden windows must have left the screen, and the
  // windows beneath them must be back, before it is read.
  tk::SettleScreen();
  tk::DoEvents();

  HWND desktop = ::GetDesktopWindow();
  bool copied = false;
  {
    tk::WindowDC source(desktop);
    Picture1.Width(static_cast<float>(SnapW));
    Picture1.Height(static_cast<float>(SnapH));
    // A buffer that could not be made (a huge area, no memory) has no DC; it
    // must not pass off the previous capture as this one.
    HDC destination = Picture1.hDC();
    const int width = uf::TwipsToPixelsX(SnapW);
    const int height = uf::TwipsToPixelsY(SnapH);
    const int left = uf::TwipsToPixelsX(SnapX);
    const int top = uf::TwipsToPixelsY(SnapY);
    copied = source && destination && ::BitBlt(destination, 0, 0, width, height, source.get(), left, top, SRCCOPY);
  }  // released here

  Visible(true);
  Form3.Visible(true);
  tk::DoEvents();
  tk::DoEvents();
  if (!copied) {
    tk::MsgBox(L"画像を取得できませんでした。");
    return false;
  }

  // The clipboard is an output: when another program holds it, the user is
  // told, and the capture is still saved from the capture buffer.
  if (!tk::Clipboard::SetImage(Picture1.CopyImage()))
    tk::MsgBox(L"画像をクリップボードにコピーできませんでした。");
  tk::DoEvents();
  return true;
}

void Form1Class::SaveCapture() {
  // The picture saved is the one captured, in Picture1: reading it back from
  // the clipboard could save another program's picture, or the previous
  // capture, when the clipboard could not take this one.
  if (!Picture1.hDC()) {
    tk::MsgBox(L"画像を取得できませんでした。");
    return;
  }
  const std::wstring result = mod_OpenSaveFile::ShowSaveFileDialog(
      hWnd(), saveflow::FilterText(), LFPath.value_or(L""), LFName.value_or(L""), LFType + 1);
  if (result.empty()) {
    // Cancel is silent; a dialog that failed says why.
    if (const unsigned error = mod_OpenSaveFile::LastDialogError())
      tk::MsgBox(saveflow::DialogErrorText(error));
    return;
  }
  const double t = static_cast<double>(result[0] - L'0') - 1;
  LFType = static_cast<float>(t);
  const saveflow::FileType* type = saveflow::TypeAt(static_cast<int>(t));
  if (!type) return;
  const std::wstring path = saveflow::MakeSaveFileName(result);

  // The dialog asked about the name as typed; a name that only the added
  // extension makes is asked about here.
  if (path != saveflow::DialogPath(result) && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      !tk::AskYesNo(saveflow::FileNameOf(path) + L" は既に存在します。\n上書きしますか？"))
    return;

  bool written = false;
  switch (type->writer) {
    case saveflow::Writer::Bmp: written = imgctl_util::WriteBMPFile(path); break;
    case saveflow::Writer::Gif: written = imgctl_util::WriteGIFFile(path, 0); break;
    case saveflow::Writer::Jpg: written = imgctl_util::WriteJPGFile(path, static_cast<short>(type->quality), 0); break;
    case saveflow::Writer::Png: written = imgctl_util::WritePNGFile(path, 0); break;
  }
  if (!written) {
    try {
      imgctl::ImgctlError();
    } catch (...) {
    }
    // The capture is still on the clipboard; the user must know the file is not.
    tk::MsgBox(L"ファイルを保存できませんでした。\n" + path);
  }
  const saveflow::Remembered remembered = saveflow::RememberSaveFile(path);
  LFName = remembered.name;
  LFPath = remembered.folder;
}
void Form1Class::ShowPreview() {
  Form2.Load();
  Form2.SetImage(Picture1.CopyImage());
  const float dx = Form2.Width() - Form2.ScaleWidth();
  const float dy = Form2.Height() - Form2.ScaleHeight();
  Form2.Width(dx + Form2.ImageWidth());
  Form2.Height(dy + Form2.ImageHeight());
  Form2.FitClientToImage();
  Form2.Visible(true);
}

void Form1Class::HidePreview() {
  Form2.Load();  // created hidden when it does not exist yet
  Form2.Visible(false);
}

}  // namespace kirasoe


#include "app/Form1.h"

#include "app/Form4.h"
#include "app/QuickSave.h"
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
#include "ui/InfoLabel.h"
#include "ui/frmMenu.h"

namespace kirasoe {

namespace uf = mod_RGN_UserFunction;

namespace {
constexpr int kCaptureHotKey = 1;  // Shift+PrintScreen
constexpr int kQuickHotKey = 2;    // Ctrl+Shift+PrintScreen
}  // namespace

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
    // Captures from the keyboard, whatever program is in front. A combination
    // another program holds already is simply not ours.
    ::RegisterHotKey(hWnd(), kCaptureHotKey, MOD_SHIFT | MOD_NOREPEAT, VK_SNAPSHOT);
    ::RegisterHotKey(hWnd(), kQuickHotKey, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, VK_SNAPSHOT);
  } catch (...) {
    tk::MsgBox(L"imgctl.dllが組み込まれていません。");
    tk::End();
  }
}

void Form1Class::RestoreStored(const settings::State& stored) {
  Settings = stored;
  Left(stored.left);
  Top(stored.top);
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
  Settings = first;
}

void Form1Class::Form_QueryUnload(int& /*cancel*/, int /*mode*/) {
  // What the state does not hold itself is read from the windows now.
  Settings.left = Left();
  Settings.top = Top();
  Settings.preview = frmMenu.mpre().checked;
  for (const auto& [key, value] : settings::ExitWrites(Settings)) uf::WriteIni(settings::kSection, key, value);
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
  // Shift held: a quick capture; the plain double-click is the capture with
  // its dialog, as ever.
  RunCapture(::GetKeyState(VK_SHIFT) < 0);
}

void Form1Class::RunCapture(bool quick) {
  if (Capturing != 0) return;
  Capturing = 1.0f;
  try {
    ShowCaptureFlash();
    uf::WaitMs(50);
    Form4.Unload();
    if (quick)
      QuickCapture();
    else
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
  // The labels beside the camera and the frame are never part of a picture.
  Notice.Hide();
  SizeLabel.Hide();
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

void Form1Class::QuickCapture() {
  const std::wstring folder = LFPath.value_or(L"");
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CaptureArea();  // no folder to go to: the normal way, with the dialog
    return;
  }
  if (!CopyScreenArea()) return;
  SaveQuick();
  ::SetForegroundWindow(PrevForeground);
}

bool Form1Class::SaveQuick() {
  const saveflow::FileType* type = saveflow::TypeAt(static_cast<int>(LFType));
  if (!type) type = saveflow::TypeAt(0);
  std::wstring folder = LFPath.value_or(L"");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do files.push_back(found.cFileName);
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
  }
  const std::wstring name = LFName.value_or(L"").empty() ? std::wstring(L"Kirasoe") : *LFName;
  // A name is claimed by creating its file: one that appears meanwhile, from
  // whatever program, is never overwritten; the series takes the next number.
  const std::wstring file = quicksave::ClaimNext(files, name, type->extension, [&](const std::wstring& f) {
    HANDLE h = ::CreateFileW((folder + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
  });
  const std::wstring path = folder + (file.empty() ? saveflow::FileNameOf(name + type->extension) : file);
  bool written = false;
  if (!file.empty()) {
    written = WriteCapture(*type, path);
    if (!written) ::DeleteFileW(path.c_str());  // the claim, still empty
  }
  if (!written) {
    tk::MsgBox(L"ファイルを保存できませんでした。\n" + path);
    return false;
  }
  RECT camera{}, frame{};
  ::GetWindowRect(hWnd(), &camera);
  ::GetWindowRect(Form3.hWnd(), &frame);
  Notice.ShowText(file, {camera.left, camera.top, camera.right, camera.bottom},
                  {frame.left, frame.top, frame.right, frame.bottom}, 1500);
  return true;
}

bool Form1Class::WriteCapture(const saveflow::FileType& type, const std::wstring& path) {
  switch (type.writer) {
    case saveflow::Writer::Bmp: return imgctl_util::WriteBMPFile(Picture1, path);
    case saveflow::Writer::Gif: return imgctl_util::WriteGIFFile(Picture1, path, 0);
    case saveflow::Writer::Jpg: return imgctl_util::WriteJPGFile(Picture1, path, static_cast<short>(type.quality), 0);
    case saveflow::Writer::Png: return imgctl_util::WritePNGFile(Picture1, path, 0);
  }
  return false;
}

bool Form1Class::Busy() { return Capturing != 0 || !::IsWindowEnabled(hWnd()) || frmMenu.IsOpen(); }

LRESULT Form1Class::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    if (msg == WM_HOTKEY) {
      OnHotKey(static_cast<int>(wp));
      return 0;
    }
    if (msg == WM_KEYDOWN && OnKeyDown(wp)) return 0;
  } catch (...) {
  }
  return tk::Form::OnMessage(msg, wp, lp);
}

void Form1Class::OnHotKey(int id) {
  // Like a double-click: nothing while a capture, a dialog of ours or the
  // menu is open. The window the user is in gets the focus back afterwards.
  if (Busy()) return;
  HWND front = ::GetForegroundWindow();
  DWORD pid = 0;
  ::GetWindowThreadProcessId(front, &pid);
  if (front && pid != ::GetCurrentProcessId()) PrevForeground = front;
  RunCapture(id == kQuickHotKey);
}

bool Form1Class::OnKeyDown(WPARAM key) {
  int dx = 0, dy = 0;
  switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    default: return false;
  }
  if (Capturing != 0) return true;
  const bool resize = ::GetKeyState(VK_SHIFT) < 0, big = ::GetKeyState(VK_CONTROL) < 0;
  const frame::Snap s = frame::KeyStep({SnapX, SnapY, SnapW, SnapH}, dx, dy, resize, big ? 10 : 1,
                                       tk::Screen::TwipsPerPixelX(), tk::Screen::TwipsPerPixelY());
  SnapX = s.x;
  SnapY = s.y;
  SnapW = s.w;
  SnapH = s.h;
  Form3.LayoutFrame();
  Form3.ShowSize();
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
  const saveflow::DialogChoice choice = *saveflow::ParseDialogResult(result);
  LFType = static_cast<float>(choice.type);
  const saveflow::FileType* type = saveflow::TypeAt(choice.type);
  if (!type) return;
  const std::wstring path = saveflow::MakeSaveFileName(choice);

  // The dialog asked about the name as typed; a name that only the added
  // extension makes is asked about here.
  if (path != choice.path && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      !tk::AskYesNo(saveflow::FileNameOf(path) + L" は既に存在します。\n上書きしますか？"))
    return;

  const bool written = WriteCapture(*type, path);
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


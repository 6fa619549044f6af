#include "app/program.h"

#include "app/version_dialog.h"
#include "core/outline.h"
#include "win/clipboard.h"
#include "win/files.h"
#include "win/image_library.h"
#include "win/message_box.h"
#include "win/profile.h"
#include "win/screen.h"

namespace {

settings::Reader FileReader() {
  return [path = win::SettingsFilePath()](const std::wstring& key) {
    return win::ReadProfile(path, settings::kSection, key);
  };
}

}  // namespace

Program::Program()
    : foldFileName_(&win::FoldFileName),
      camera_(*this),
      frame_(*this),
      notice_(L"Kirasoe.Notice"),
      sizeLabel_(L"Kirasoe.SizeLabel"),
      countdown_(*this),
      picker_(*this) {}

void Program::Start() {
  // The camera is made where it belongs: a window manager may keep the
  // first geometry it sees and give it back when the window is shown again.
  const geometry::Rect camera = RestoreOrFirstStart();
  if (!camera_.Open(camera)) ::ExitProcess(1);
  win::DisableTransitions(camera_.hwnd());
  try {
    imgctl::ImgctlVersion();  // proves that the image library can be called
  } catch (...) {
    win::ShowMessage(L"imgctl.dllが組み込まれていません。");
    ::ExitProcess(0);
  }
  win::MakeTopmost(camera_.hwnd(), false);
  camera_.Shape(camera);
  ReadKeptFrames();
  ReadOptions();
  KeepFrameReachable();
  OpenWindows();
}

geometry::Rect Program::RestoreOrFirstStart() {
  const twips::Scale scale = win::CurrentScale();
  const std::int32_t width = twips::ToPixels(outline::kCameraWidthTwips, scale.x);
  const std::int32_t height = twips::ToPixels(outline::kCameraHeightTwips, scale.y);
  const settings::Reader read = FileReader();
  if (auto stored = settings::ReadStored(read)) {
    settings_ = *stored;
    previewStored_ = settings::ReadPreviewPosition(read);
    area_ = CaptureArea(settings_.snap, scale);
    return geometry::RectAt(twips::ToPixels(stored->camera.left, scale.x), twips::ToPixels(stored->camera.top, scale.y),
                            width, height);
  }
  const settings::PixelPoint at = settings::FirstStartCamera(win::ScreenWidth(), width, win::UsableHeight(), height, scale);
  settings_ = settings::FirstStartState(static_cast<float>(twips::FromPixels(at.x, scale.x)),
                                        static_cast<float>(twips::FromPixels(at.y, scale.y)), scale.x, scale.y);
  area_ = CaptureArea(settings_.snap, scale);
  return geometry::RectAt(at.x, at.y, width, height);
}

void Program::KeepFrameReachable() {
  // A monitor unplugged since the last run can leave the camera or the frame
  // where no monitor shows them, and their menu is the only way to the rest.
  win::BringOnScreen(camera_);
  if (auto back = placement::BringFrameBack(area_.Pixels(), camera_.Bounds(), win::Monitors())) area_.Set(*back);
}

void Program::DisplayChanged() {
  // A new scale shows the stored rectangle and the camera's size on other
  // pixels; windows no monitor shows any more come back as at start.
  const twips::Scale scale = win::CurrentScale();
  if (!(scale == area_.Scale())) {
    area_ = CaptureArea(area_.Stored(), scale);
    const geometry::Rect camera = camera_.Bounds();
    camera_.Shape(geometry::RectAt(camera.left, camera.top, twips::ToPixels(outline::kCameraWidthTwips, scale.x),
                                   twips::ToPixels(outline::kCameraHeightTwips, scale.y)));
  }
  KeepFrameReachable();
  frame_.Layout(area_);
  if (preview_.Exists()) win::BringOnScreen(preview_);
}

void Program::OpenWindows() {
  // A hand-edited colour outside the three choices shows grey and is grey
  // from then on, so that exactly one colour is checked.
  if (settings_.lineC < 0 || settings_.lineC > 2) settings_.lineC = 1;
  frame_.Open(area_, FrameColour(settings_.lineC));
  frame_.Show();
  RegisterHotKeys();
  camera_.Show();
}

void Program::Exit() {
  // The pointer's shape comes back, and a pick leaves the frame as it was.
  if (picker_.Picking()) {
    picker_.Stop();
    area_ = beforePicking_;
  }
  countdown_.Cancel();
  // A file being written is completed first.
  saver_.WaitForPending();
  WriteSettings();
  // What the clipboard was only promised is made now, so that the capture
  // stays there after the program has gone.
  win::clipboard::RenderBeforeExit();
  ::ExitProcess(0);
}

void Program::WriteSettings() {
  const twips::Scale scale = win::CurrentScale();
  const std::wstring path = win::SettingsFilePath();
  const geometry::Rect camera = camera_.Bounds();
  settings_.camera = settings::KeptPosition(settings_.camera, camera.left, camera.top, scale);
  settings_.snap = area_.Stored();
  for (const auto& [key, value] : settings::ExitWrites(settings_)) win::WriteProfile(path, settings::kSection, key, value);
  WriteKeptFrames(path);
  WriteOptions(path);
  if (!preview_.Exists()) return;
  const geometry::Rect preview = preview_.Bounds();
  const settings::Position kept = settings::KeptPosition(previewStored_, preview.left, preview.top, scale);
  for (const auto& [key, value] : settings::PreviewWrites(kept)) win::WriteProfile(path, settings::kSection, key, value);
}

void Program::SetArea(const geometry::Rect& pixels) {
  area_.Set(pixels);
  frame_.Layout(area_);
}

void Program::FrameChanged(const geometry::Rect& pixels) {
  SetArea(pixels);
  ShowFrameSize();
}

void Program::ShowFrameSize() {
  const geometry::Rect frame = frame_.Bounds();
  sizeLabel_.ShowText(frame::SizeText(area_.Pixels()), frame, frame, 1000);
}

void Program::FrameKey(int dx, int dy, bool resize, bool big) {
  if (Busy()) return;
  FrameChanged(frame::KeyStep(area_.Pixels(), dx, dy, resize, big ? 10 : 1));
}

void Program::MenuRequested(HWND on) {
  if (Busy()) return;
  ActivityState::Scope menu = activity_.Start(Activity::Menu);
  MenuState state{settings_.lineC, settings_.preview, countdown_.Running(), {}, options_.pointer, HotKeysTaken()};
  for (const auto& kept : kept_) state.keptNames.push_back(kept.name);
  const MenuChoice choice = ShowPopupMenu(on, state);
  menu.Leave();
  RunMenuCommand(choice);
}

void Program::RunMenuCommand(const MenuChoice& choice) {
  switch (const MenuCommand command = choice.command) {
    case MenuCommand::Black: case MenuCommand::Grey: case MenuCommand::White:
      settings_.lineC = static_cast<int>(command) - static_cast<int>(MenuCommand::Black);
      frame_.SetColour(FrameColour(settings_.lineC));
      break;
    case MenuCommand::Preview: settings_.preview = !settings_.preview; break;
    case MenuCommand::Version: {
      const ActivityState::Scope busy = activity_.Enter(Activity::Dialog);
      VersionDialog dialog;
      dialog.ShowModal({camera_.hwnd(), frame_.hwnd(), preview_.hwnd()});
      break;
    }
    case MenuCommand::Exit: Exit();
    case MenuCommand::None: break;
    case MenuCommand::Pointer: case MenuCommand::HotKeys: RunSettingsCommand(choice); break;
    default: RunFrameCommand(choice); break;
  }
}

void Program::PointerOverCamera() {
  // Hovering does not activate the camera: the window the user works in is
  // still the foreground window, and gets the focus back after a capture.
  if (activity_.Current() == Activity::Capturing) return;
  HWND front = ::GetForegroundWindow();
  if (front != camera_.hwnd()) previousForeground_ = front;
}

void Program::RememberForeground() {
  HWND front = ::GetForegroundWindow();
  DWORD pid = 0;
  ::GetWindowThreadProcessId(front, &pid);
  if (front && pid != ::GetCurrentProcessId()) previousForeground_ = front;
}

void Program::HotKeyPressed(int id) {
  if (Busy() || countdown_.Running()) return;
  // The window the user is in gets the focus back afterwards.
  RememberForeground();
  Capture(id == kQuickHotKeyId);
}

void Program::CaptureRequested(bool quick) { Capture(quick); }

bool Program::CameraPressed() {
  if (!countdown_.Running()) return false;
  countdown_.Cancel();
  return true;
}

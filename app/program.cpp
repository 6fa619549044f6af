#include "app/program.h"

#include "app/version_dialog.h"
#include "core/outline.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/files.h"
#include "win/image_library.h"
#include "win/locale.h"
#include "win/message_box.h"
#include "win/profile.h"
#include "win/screen.h"
#include "win/system_changes.h"

Program::Program()
    : foldFileName_(&win::FoldFileName),
      camera_(*this),
      frame_(*this),
      notice_(L"Kirasoe.Notice"),
      sizeLabel_(L"Kirasoe.SizeLabel"),
      watchLabel_(L"Kirasoe.WatchLabel"),
      countdown_(*this),
      picker_(*this),
      watch_(*this),
      recorder_(*this) {}

void Program::Start() {
  // A run that ended in a drag or a pick may have left the session changed.
  win::UndoChangesLeftBehind();
  // The frames of a recording lost with a crash (in use by another running
  // Kirasoe, they stay).
  win::RemoveMatching(win::TemporaryFolder(), L"Kirasoe.recording.*.tmp");
  // The camera is made where it belongs: a window manager may keep the
  // first geometry it sees and give it back when the window is shown again.
  const geometry::Rect camera = RestoreOrFirstStart();
  if (!camera_.Open(camera)) ::ExitProcess(1);
  win::DisableTransitions(camera_.hwnd());
  try {
    imgctl::ImgctlVersion();  // proves that the image library can be called
  } catch (...) {
    win::ShowMessage(Say(texts::Id::LibraryMissing));
    ::ExitProcess(0);
  }
  win::MakeTopmost(camera_.hwnd(), false);
  camera_.Shape(camera);
  KeepFrameReachable();
  OpenWindows();
}

geometry::Rect Program::RestoreOrFirstStart() {
  const twips::Scale scale = win::CurrentScale();
  const std::int32_t width = twips::ToPixels(outline::kCameraWidthTwips, scale.x);
  const std::int32_t height = twips::ToPixels(outline::kCameraHeightTwips, scale.y);
  if (store_.Read()) {
    area_ = CaptureArea(store_.data.snap, scale);
    return geometry::RectAt(twips::ToPixels(store_.data.camera.left, scale.x),
                            twips::ToPixels(store_.data.camera.top, scale.y), width, height);
  }
  const settings::PixelPoint at = settings::FirstStartCamera(win::ScreenWidth(), width, win::UsableHeight(), height, scale);
  store_.data = settings::FirstStartState(static_cast<float>(twips::FromPixels(at.x, scale.x)),
                                        static_cast<float>(twips::FromPixels(at.y, scale.y)), scale.x, scale.y);
  area_ = CaptureArea(store_.data.snap, scale);
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
  if (store_.data.lineColour < 0 || store_.data.lineColour > 2) store_.data.lineColour = 1;
  frame_.Open(area_, FrameColour(store_.data.lineColour));
  frame_.Show();
  hotKeys_.Register(camera_.hwnd(), store_.options);
  camera_.Show();
}

void Program::Exit() {
  // Every step is tried whatever failed before it, and the program ends in
  // any case: a failure is logged, and the settings' own is told.
  bool failed = false;
  const auto step = [&failed](const wchar_t* what, auto&& run) {
    try {
      run();
    } catch (...) {
      failed = true;
      win::LogCurrentException(what);
    }
  };
  // The pointer's shape comes back, and a pick leaves the frame as it was.
  step(L"exit: picking", [this] {
    if (!picker_.Picking()) return;
    picker_.Stop();
    area_ = beforePicking_;
  });
  step(L"exit: countdown", [this] { countdown_.Cancel(); });
  // A watch ends after the picture being written (the saver's wait).
  step(L"exit: watch", [this] { watch_.Stop(); });
  // A recording running at exit has no one left to ask where it goes.
  exiting_ = true;
  step(L"exit: recording", [this] { recorder_.Stop(); });
  // A file being written is completed first.
  step(L"exit: saving", [this] { saver_.WaitForPending(); });
  step(L"exit: settings", [this, &failed] { failed = !WriteSettings() || failed; });
  // What the clipboard was only promised is made now, so that the capture
  // stays there after the program has gone.
  step(L"exit: clipboard", [] { win::clipboard::RenderBeforeExit(); });
  ::ExitProcess(failed ? 1 : 0);
}

bool Program::WriteSettings() {
  const twips::Scale scale = win::CurrentScale();
  const geometry::Rect camera = camera_.Bounds();
  store_.data.camera = settings::KeptPosition(store_.data.camera, camera.left, camera.top, scale);
  store_.data.snap = area_.Stored();
  std::optional<settings::Position> preview;
  if (preview_.Exists()) {
    const geometry::Rect shown = preview_.Bounds();
    preview = settings::KeptPosition(store_.preview, shown.left, shown.top, scale);
  }
  std::wstring reason;
  try {
    if (store_.Write(preview)) return true;
    reason = win::SystemMessage(settingsFile_.WriteError());
  } catch (...) {
    reason = win::CurrentExceptionText();
  }
  // Said once: the writing stopped at the first key that failed.
  win::LogFailure(L"settings", settingsFile_.Path() + L": " + reason);
  Tell(Say(texts::Id::SettingsNotSaved) + (L"\n" + settingsFile_.Path() + L"\n" + reason));
  return false;
}

void Program::Tell(const std::wstring& text) {
  const ActivityState::Scope message = activity_.Enter(Activity::Dialog);
  win::ShowMessage(text);
}

bool Program::Ask(const std::wstring& question) {
  const ActivityState::Scope message = activity_.Enter(Activity::Dialog);
  return win::AskYesNo(question);
}

texts::Language Program::Language() const {
  return texts::Resolve(store_.options.language, win::UserLanguageIsJapanese());
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
  sizeLabel_.ShowText(frame::SizeText(area_.Pixels().Width(), area_.Pixels().Height()), frame, frame, 1000);
}

void Program::FrameKey(int dx, int dy, bool resize, bool big) {
  if (Busy() || recorder_.Recording()) return;
  FrameChanged(frame::KeyStep(area_.Pixels(), dx, dy, resize, big ? 10 : 1));
}

void Program::MenuRequested(HWND on) {
  if (Busy()) return;
  ActivityState::Scope menu = activity_.Start(Activity::Menu);
  MenuState state{store_.data.lineColour, store_.data.preview, countdown_.Seconds(),
                  watch_.Running() == AreaWatch::Mode::Changes,
                  watch_.Running() == AreaWatch::Mode::Interval ? watch_.IntervalSeconds() : 0,
                  recorder_.Recording(), store_.record.framesPerSecond,
                  {}, store_.options.pointer, hotKeys_.Taken(store_.options), Language(),
                  store_.options.language};
  for (const auto& kept : store_.kept) state.keptNames.push_back(kept.name);
  const MenuChoice choice = ShowPopupMenu(on, state);
  menu.Leave();
  RunMenuCommand(choice);
}

void Program::RunMenuCommand(const MenuChoice& choice) {
  switch (const MenuCommand command = choice.command) {
    case MenuCommand::Black: case MenuCommand::Grey: case MenuCommand::White:
      store_.data.lineColour = static_cast<int>(command) - static_cast<int>(MenuCommand::Black);
      frame_.SetColour(FrameColour(store_.data.lineColour));
      break;
    case MenuCommand::Preview: store_.data.preview = !store_.data.preview; break;
    case MenuCommand::Version: {
      const ActivityState::Scope busy = activity_.Enter(Activity::Dialog);
      VersionDialog dialog(Say(texts::Id::AboutTitle));
      dialog.ShowModal({camera_.hwnd(), frame_.hwnd(), preview_.hwnd()});
      break;
    }
    case MenuCommand::Exit: Exit();
    case MenuCommand::None: break;
    case MenuCommand::Pointer: case MenuCommand::HotKeys: case MenuCommand::Language:
      RunSettingsCommand(choice);
      break;
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
  // A hotkey ends a recording, as a press on the camera does.
  if (recorder_.Recording() && !Busy()) return recorder_.Stop();
  if (Busy() || recorder_.Recording() || countdown_.Counting() || watch_.Running() != AreaWatch::Mode::Off) return;
  // The window the user is in gets the focus back afterwards.
  RememberForeground();
  Capture(id == HotKeys::kQuickId);
}

void Program::CaptureRequested(bool quick) { Capture(quick); }

bool Program::CameraPressed() {
  // A press on the camera ends a countdown or a watch.
  if (countdown_.Counting()) {
    countdown_.Cancel();
    return true;
  }
  if (recorder_.Recording()) {
    recorder_.Stop();
    return true;
  }
  if (watch_.Running() == AreaWatch::Mode::Off) return false;
  watch_.Stop();
  return true;
}

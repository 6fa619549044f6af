#include "app/program.h"

#include "app/version_dialog.h"
#include "core/outline.h"
#include "core/placement.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/files.h"
#include "win/image_library.h"
#include "win/locale.h"
#include "win/message_box.h"
#include "win/screen.h"
#include "win/system_changes.h"

namespace {

// Why the image library cannot be used: the described message, and for a
// file that is there but cannot be loaded, its path and the system's reason.
std::wstring LibraryFailure(const std::wstring& missing) {
  std::wstring why;
  try {
    throw;
  } catch (const imgctl::Unavailable& e) {
    why = e.systemError ? win::SystemMessage(e.systemError) : win::CurrentExceptionText();
  } catch (...) {
    why = win::CurrentExceptionText();
  }
  win::LogFailure(L"image library", imgctl::LibraryPath() + L": " + why);
  if (!win::Exists(imgctl::LibraryPath())) return missing;
  return missing + L"\n" + imgctl::LibraryPath() + L"\n" + why;
}

geometry::Rect CameraAt(std::int32_t left, std::int32_t top, twips::Scale scale) {
  return geometry::RectAt(left, top, twips::ToPixels(outline::kCameraWidthTwips, scale.x),
                          twips::ToPixels(outline::kCameraHeightTwips, scale.y));
}

}  // namespace

Program::Program()
    : windows_(*this, *this),
      settingsCommands_(activity_, settings_.store.options, windows_.camera, Speaker()),
      saves_(Speaker(), windows_.camera),
      series_(settings_.store.data, saves_, Speaker()),
      editor_({Speaker(), windows_.camera, [this](const masks::Mask& mask) { frameCommands_.KeepMask(mask); }}),
      capture_({activity_, area_, settings_.store, windows_, saves_, series_, editor_, Speaker()}),
      frameCommands_({activity_, area_, settings_.store.kept, settings_.store.masks, windows_, Speaker(),
                      [this](bool quick) { return !Busy() && capture_.RunForFront(quick); }}),
      watching_({activity_, area_, settings_.store, windows_, series_, Speaker()}),
      recording_({activity_, area_, settings_.store, windows_, saves_, Speaker()}),
      selection_({activity_, windows_, Speaker(),
                  [this] { return watching_.Running() != AreaWatch::Mode::Off || recording_.Recording(); },
                  [this](const geometry::Rect& marked) { FrameChanged(marked); },
                  [this](bool quick, HWND front, const AreaSelection::CopyStill& copy) {
                    capture_.RunFromStill(quick, front, copy);
                  }}),
      commandRunner_({activity_, settings_.store, area_, &windows_, windows_.camera}),
      commands_({commandRunner_, [this] { return activity_.Busy() || windows_.frame.Resizing(); },
                 [this] { return watching_.Running() != AreaWatch::Mode::Off || recording_.Recording(); },
                 [this] { return BringToFront(); }, {}}) {}

void Program::Start() {
  // A run that ended in a drag or a pick may have left the session changed.
  win::UndoChangesLeftBehind();
  // The frames of a recording lost with a crash (in use by another running
  // Kirasoe, they stay).
  win::RemoveMatching(win::TemporaryFolder(), L"Kirasoe.recording.*.tmp");
  // The camera is made where it belongs: a window manager may keep the
  // first geometry it sees and give it back when the window is shown again.
  const geometry::Rect camera = RestoreOrFirstStart();
  if (!windows_.camera.Open(camera)) {
    win::LogFailure(L"start", L"the camera window: " + win::SystemMessage(::GetLastError()));
    ::ExitProcess(1);
  }
  win::DisableTransitions(windows_.camera.hwnd());
  try {
    // Every operation is looked up now, before any thread may call one.
    imgctl::Load();
  } catch (...) {
    win::ShowMessage(LibraryFailure(Speaker().Say(texts::Id::LibraryMissing)));
    ::ExitProcess(0);
  }
  win::MakeTopmost(windows_.camera.hwnd(), false);
  windows_.camera.Place(camera);
  ApplyOutlineOrEnd(windows_.camera.hwnd(), outline::CameraRects());
  KeepFrameReachable();
  OpenWindows();
  // Scripts find this Kirasoe from now on.
  if (!commands_.Open()) win::LogFailure(L"start", L"the command window: " + win::SystemMessage(::GetLastError()));
}

void Program::ShowVersion() {
  const ActivityState::Scope busy = activity_.Enter(Activity::Dialog);
  VersionDialog dialog(Speaker().Say(texts::Id::AboutTitle));
  dialog.ShowModal({windows_.camera.hwnd(), windows_.frame.hwnd(), windows_.preview.hwnd()});
}

bool Program::BringToFront() {
  if (!windows_.camera.Visible()) return true;
  ::SetForegroundWindow(windows_.camera.hwnd());
  return true;
}

geometry::Rect Program::RestoreOrFirstStart() {
  settings::Store& store = settings_.store;
  const twips::Scale scale = win::CurrentScale();
  if (store.Read()) {
    area_ = CaptureArea(store.data.snap, scale);
    return CameraAt(twips::ToPixels(store.data.camera.left, scale.x), twips::ToPixels(store.data.camera.top, scale.y),
                    scale);
  }
  const std::int32_t width = twips::ToPixels(outline::kCameraWidthTwips, scale.x);
  const std::int32_t height = twips::ToPixels(outline::kCameraHeightTwips, scale.y);
  const settings::PixelPoint at = settings::FirstStartCamera(win::ScreenWidth(), width, win::UsableHeight(), height, scale);
  store.data = settings::FirstStartState(static_cast<float>(twips::FromPixels(at.x, scale.x)),
                                         static_cast<float>(twips::FromPixels(at.y, scale.y)), scale.x, scale.y);
  area_ = CaptureArea(store.data.snap, scale);
  return CameraAt(at.x, at.y, scale);
}

void Program::KeepFrameReachable() {
  // A monitor unplugged since the last run can leave the camera or the frame
  // where no monitor shows them, and their menu is the only way to the rest.
  win::BringOnScreen(windows_.camera);
  if (auto back = placement::BringFrameBack(area_.Pixels(), windows_.camera.Bounds(), win::Monitors()))
    area_.Set(*back);
}

void Program::DisplayChanged() {
  // The screen held for a selection no longer matches the screen.
  selection_.Cancel();
  // A new scale shows the stored rectangle and the camera's size on other
  // pixels; windows no monitor shows any more come back as at start.
  const twips::Scale scale = win::CurrentScale();
  if (!(scale == area_.Scale())) {
    area_ = CaptureArea(area_.Stored(), scale);
    const geometry::Rect camera = windows_.camera.Bounds();
    // A shape refused now keeps the one before: the program goes on.
    if (const wchar_t* failure = windows_.camera.Shape(CameraAt(camera.left, camera.top, scale)))
      win::LogFailure(L"camera outline", failure);
  }
  KeepFrameReachable();
  windows_.frame.Layout(area_);
  if (windows_.preview.Exists()) win::BringOnScreen(windows_.preview);
}

void Program::OpenWindows() {
  // A hand-edited colour outside the three choices shows grey and is grey
  // from then on, so that exactly one colour is checked.
  int& colour = settings_.store.data.lineColour;
  if (colour < 0 || colour > 2) colour = 1;
  windows_.frame.Open(area_, FrameColour(colour));
  windows_.frame.ShowMasks(settings_.store.masks, area_);
  windows_.frame.Show();
  settingsCommands_.RegisterHotKeys(windows_.camera.hwnd());
  windows_.camera.Show();
}

void Program::Exit(bool sessionEnding) {
  // A close while the exit's own dialog is open (where the recording goes)
  // waits for it; the end of the session does not.
  if (activity_.Within(Activity::Exiting)) {
    if (!sessionEnding) return;
    win::LogFailure(L"exit", L"the session ended while the exit waited for a dialog; what it asked about is lost");
  }
  const ActivityState::Scope exiting = activity_.Enter(Activity::Exiting);
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
  // Scripts waiting for an answer get theirs; a recording they started is written.
  step(L"exit: commands", [this] { commands_.Close(); });
  step(L"exit: frame tools", [this] { frameCommands_.StopForExit(); });
  step(L"exit: selection", [this] { selection_.Cancel(); });
  step(L"exit: editor", [this] { editor_.Cancel(); });
  // A watch ends after the picture being written.
  step(L"exit: watch", [this] { watching_.Stop(); });
  step(L"exit: recording", [this, sessionEnding] { recording_.StopForExit(sessionEnding); });
  // A file being written is completed first.
  step(L"exit: saving", [this] { saves_.Writer().WaitForPending(); });
  step(L"exit: settings", [this, &failed] { failed = !WriteSettings() || failed; });
  // What the clipboard was only promised is made now, so that the capture
  // stays there after the program has gone.
  step(L"exit: clipboard", [] { win::clipboard::RenderBeforeExit(); });
  win::FlushFailureLog();
  ::ExitProcess(failed ? 1 : 0);
}

bool Program::WriteSettings() {
  settings::Store& store = settings_.store;
  const twips::Scale scale = win::CurrentScale();
  const geometry::Rect camera = windows_.camera.Bounds();
  store.data.camera = settings::KeptPosition(store.data.camera, camera.left, camera.top, scale);
  store.data.snap = area_.Stored();
  std::optional<settings::Position> preview;
  if (windows_.preview.Exists()) {
    const geometry::Rect shown = windows_.preview.Bounds();
    preview = settings::KeptPosition(store.preview, shown.left, shown.top, scale);
  }
  std::wstring reason;
  try {
    if (store.Write(preview)) return true;
    reason = win::SystemMessage(settings_.file.WriteError());
  } catch (...) {
    reason = win::CurrentExceptionText();
  }
  // Said once: the writing stopped at the first key that failed.
  win::LogFailure(L"settings", settings_.file.Path() + L": " + reason);
  Speaker().Tell(Speaker().Say(texts::Id::SettingsNotSaved) + (L"\n" + settings_.file.Path() + L"\n" + reason));
  return false;
}

void Program::FrameChanged(const geometry::Rect& pixels) {
  area_.Set(pixels);
  windows_.frame.Layout(area_);
  windows_.ShowSize(area_);
}

void Program::FrameKey(int dx, int dy, bool resize, bool big) {
  // The frame stands outside the area while it is watched or recorded.
  if (Busy() || windows_.KeepingOff()) return;
  FrameChanged(frame::KeyStep(area_.Pixels(), dx, dy, resize, big ? 10 : 1));
}

void Program::CaptureRequested(bool quick) {
  if (Busy() || recording_.Recording()) return;
  capture_.Run(quick);
}

bool Program::CameraPressed() {
  // A press on the camera ends a countdown, a recording or a watch, a
  // script's too.
  if (frameCommands_.CancelCountdown()) return true;
  if (commandRunner_.Running()) {
    commandRunner_.Stop();
    return true;
  }
  if (recording_.Recording()) {
    recording_.Stop();
    return true;
  }
  if (watching_.Running() == AreaWatch::Mode::Off) return false;
  watching_.Stop();
  return true;
}

void Program::HotKeyPressed(int id) {
  const std::size_t index = HotKeys::IndexOf(id);
  if (index == options::kSelectKey || index == options::kSelectCaptureKey) {
    if (Busy() || frameCommands_.CountdownSeconds() != 0) return;
    HWND front = ::GetForegroundWindow();
    DWORD pid = 0;
    ::GetWindowThreadProcessId(front, &pid);
    selection_.Start(index == options::kSelectCaptureKey, pid == ::GetCurrentProcessId() ? nullptr : front);
    return;
  }
  // A hotkey ends a recording, as a press on the camera does.
  if (recording_.Recording()) {
    if (!Busy()) recording_.Stop();
    return;
  }
  if (Busy() || frameCommands_.CountdownSeconds() != 0 || watching_.Running() != AreaWatch::Mode::Off) return;
  capture_.RunForFront(index == options::kQuickKey);
}

void Program::MenuRequested(HWND on) {
  if (Busy()) return;
  ActivityState::Scope menu = activity_.Start(Activity::Menu);
  const MenuChoice choice = ShowPopupMenu(on, MenuNow());
  menu.Leave();
  RunMenuCommand(choice);
}

MenuState Program::MenuNow() const {
  const settings::Store& store = settings_.store;
  const AreaWatch::Mode watch = watching_.Running();
  MenuState state{store.data.lineColour, store.data.preview, frameCommands_.CountdownSeconds(),
                  watch == AreaWatch::Mode::Changes,
                  watch == AreaWatch::Mode::Interval ? watching_.IntervalSeconds() : 0,
                  recording_.Recording(), store.record.framesPerSecond,
                  {}, store.options.pointer, settingsCommands_.TakenHotKeys(),
                  texts::Resolve(store.options.language, win::UserLanguageIsJapanese()), store.options.language};
  for (const auto& kept : store.kept) state.keptNames.push_back(kept.name);
  state.editAfterCapture = store.options.editAfterCapture;
  state.lastCapture = capture_.HasPicture();
  state.masked = !store.masks.empty();
  return state;
}

void Program::RunMenuCommand(const MenuChoice& choice) {
  settings::Store& store = settings_.store;
  switch (const MenuCommand command = choice.command) {
    case MenuCommand::Black: case MenuCommand::Grey: case MenuCommand::White:
      store.data.lineColour = static_cast<int>(command) - static_cast<int>(MenuCommand::Black);
      // A watched or recorded frame stays red; it takes the colour after.
      if (!windows_.KeepingOff()) windows_.frame.SetColour(FrameColour(store.data.lineColour));
      break;
    case MenuCommand::Preview: store.data.preview = !store.data.preview; break;
    case MenuCommand::Version: ShowVersion(); break;
    case MenuCommand::Exit: Exit(); break;
    case MenuCommand::None: break;
    case MenuCommand::Pointer: case MenuCommand::HotKeys: case MenuCommand::Language:
    case MenuCommand::EditAfterCapture:
      settingsCommands_.Run(choice);
      break;
    // A watch or a recording takes the place of a countdown; a recording
    // that of a watch.
    case MenuCommand::WatchChanges: case MenuCommand::WatchInterval:
      frameCommands_.CancelCountdown();
      if (command == MenuCommand::WatchChanges) watching_.Toggle(AreaWatch::Mode::Changes, store.watch.intervalSeconds);
      else watching_.Toggle(AreaWatch::Mode::Interval, choice.index);
      break;
    case MenuCommand::Record:
      frameCommands_.CancelCountdown();
      watching_.Stop();
      recording_.Toggle();
      break;
    case MenuCommand::RecordRate: store.record.framesPerSecond = choice.index; break;
    case MenuCommand::EditLast: capture_.EditLast(); break;
    case MenuCommand::SelectArea: case MenuCommand::SelectAndCapture:
      frameCommands_.CancelCountdown();
      selection_.Start(command == MenuCommand::SelectAndCapture, capture_.UsersWindow());
      break;
    default: frameCommands_.Run(choice); break;
  }
}

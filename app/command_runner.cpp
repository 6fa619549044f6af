#include "app/command_runner.h"

#include <algorithm>
#include <stdexcept>

#include "app/capture_flash.h"
#include "app/frame_window.h"
#include "core/series.h"
#include "win/clipboard.h"
#include "win/files.h"
#include "win/module.h"
#include "win/screen.h"
#include "win/screen_copy.h"

namespace {

std::wstring AreaText(const geometry::Rect& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.Width()) + L"," +
         std::to_wstring(r.Height());
}

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

CommandRunner::CommandRunner(const Needs& needs)
    : needs_(needs),
      report_([this](const std::wstring& text) { outcome_.err += text + L"\n"; }),
      voice_(needs.activity, needs.store.options, report_),
      saves_(voice_, needs.dialogOwner) {}

void CommandRunner::Run(const command_line::Command& command, Done done) {
  if (Running())
    return done({command_line::Failed, {}, L"a watch or a recording of another command runs; /stop ends it\n"});
  command_ = command;
  outcome_ = {};
  done_ = std::move(done);
  if (!ChooseArea()) return;
  switch (command_.action) {
    case command_line::Action::Capture:
      if (command_.delaySeconds == 0) return Capture();
      if (!delay_.Start(static_cast<unsigned>(command_.delaySeconds) * 1000, [this] {
            delay_.Stop();
            Capture();
          }))
        Fail(L"no timer for the delay: " + win::SystemMessage(::GetLastError()));
      return;
    case command_line::Action::Watch: return StartWatch();
    case command_line::Action::Record: return StartRecording();
    default: return Fail(L"nothing to do");
  }
}

bool CommandRunner::ChooseArea() {
  geometry::Rect pixels = needs_.frame.Pixels();
  masks_ = needs_.store.masks;
  // The masks are places in the frame: an area of its own has none.
  if (command_.area) {
    pixels = *command_.area;
    masks_.clear();
  } else if (!command_.frameName.empty()) {
    const auto& kept = needs_.store.kept;
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const auto& k) { return k.name == command_.frameName; });
    if (found == kept.end()) return Fail(L"no kept frame is named " + command_.frameName), false;
    pixels = found->pixels;
    masks_ = found->masks;
  } else if (needs_.frame.Empty()) {
    return Fail(L"no frame is set: give /area"), false;
  }
  const auto monitors = win::Monitors();
  if (std::none_of(monitors.begin(), monitors.end(), [&](const auto& m) { return geometry::Intersects(m.area, pixels); }))
    return Fail(L"the area is off every screen: " + AreaText(pixels)), false;
  area_ = CaptureArea();
  area_.Set(pixels);
  return true;
}

void CommandRunner::Capture() {
  const ActivityState::Scope busy = needs_.activity.Enter(Activity::Capturing);
  if (!Take()) return Fail(L"the screen could not be read");
  Deliver();
}

bool CommandRunner::Take() {
  const geometry::Rect area = area_.Pixels();
  bool copied = false;
  if (needs_.windows) {
    // As a quick capture: the flash, and our windows aside while the area
    // is read; the program in front keeps the focus.
    HWND front = ::GetForegroundWindow();
    {
      CaptureFlash flash;
      flash.Open(area);
      win::PumpPending();
      ::Sleep(50);
    }
    needs_.windows->StepAside();
    win::PumpPending();
    win::SettleScreen();
    win::PumpPending();
    copied = win::CopyScreen(picture_, area);
    needs_.windows->ComeBack();
    if (front) ::SetForegroundWindow(front);
  } else {
    copied = win::CopyScreen(picture_, area);
  }
  if (copied && Pointer()) win::DrawPointer(picture_, area);
  return copied && win::HideMasked(picture_, masks_);
}

void CommandRunner::Deliver() {
  if (command_.clipboard) {
    if (!win::clipboard::Put(picture_)) {
      outcome_.code = command_line::Failed;
      outcome_.err += L"the clipboard could not take the picture\n";
    }
  }
  if (command_.out.empty()) {
    if (!ChooseSeries(needs_.store.data.lastFolder.value_or(L""))) return End();
    const SeriesWriter::Write write = series_.Start(picture_);
    const std::optional<std::wstring> file = series_.Finish(write);
    if (!file) return Fail({});
    return Delivered(write.folder + *file);
  }
  const save_names::FileType* type = save_names::TypeAt(command_.type.value_or(5));
  const win::WriteOutcome written = saves_.WritePicture(picture_, *type, command_.out);
  if (!written.written) return Fail(save_names::NotSavedText(command_.out, written.Reason(Language()), Language()));
  Delivered(command_.out);
}

void CommandRunner::Delivered(const std::wstring& path) {
  // As after a quick capture, the name shows beside the camera for a moment.
  if (needs_.windows) needs_.windows->ShowNotice(save_names::FileNameOf(path));
  outcome_.out += path + L"\n";
  End();
}

bool CommandRunner::ChooseSeries(const std::wstring& folder) {
  seriesData_ = needs_.store.data;
  seriesData_.lastFolder = folder;
  if (command_.type) seriesData_.lastType = static_cast<float>(*command_.type);
  if (folder.empty()) {
    outcome_.code = command_line::Failed;
    outcome_.err += L"no folder for the series: give /out, or save a capture with Kirasoe first\n";
    return false;
  }
  if (!win::IsFolder(folder)) {
    outcome_.code = command_line::Failed;
    outcome_.err += L"not a folder: " + folder + L"\n";
    return false;
  }
  if (series_.Possible()) return true;
  outcome_.code = command_line::Failed;
  return false;
}

void CommandRunner::StartWatch() {
  if (!ChooseSeries(command_.out.empty() ? needs_.store.data.lastFolder.value_or(L"") : command_.out)) return End();
  KeepOff();
  const AreaWatch::Mode mode = command_.watchSeconds ? AreaWatch::Mode::Interval : AreaWatch::Mode::Changes;
  if (!watch_.Start(mode, command_.watchSeconds, needs_.store.watch)) {
    const std::wstring why = win::SystemMessage(::GetLastError());
    GiveBack();
    return Fail(L"the watch could not start: " + why);
  }
  if (command_.forSeconds && !delay_.Start(static_cast<unsigned>(command_.forSeconds) * 1000, [this] { Stop(); })) {
    outcome_.code = command_line::Failed;
    outcome_.err += L"no timer for /for: " + win::SystemMessage(::GetLastError()) + L"\n";
    watch_.Stop();
  }
}

std::vector<geometry::Rect> CommandRunner::OwnWindowsShown() const {
  return needs_.windows ? needs_.windows->Shown() : std::vector<geometry::Rect>{};
}

AreaWatch::Picture CommandRunner::TakeWatchPicture() {
  // A stop that comes while the picture is written (the writing answers
  // messages) ends the command once it is written, and it is in the list.
  takingPicture_ = true;
  AreaWatch::Picture taken = AreaWatch::Picture::Failed;
  try {
    taken = TakeOneWatchPicture();
  } catch (...) {
    takingPicture_ = false;
    throw;
  }
  takingPicture_ = false;
  if (endAfterPicture_) {
    endAfterPicture_ = false;
    End();
  }
  return taken;
}

AreaWatch::Picture CommandRunner::TakeOneWatchPicture() {
  const ActivityState::Scope busy = needs_.activity.Start(Activity::Capturing);
  if (!busy) return AreaWatch::Picture::NotNow;
  KeepOff();
  const geometry::Rect area = area_.Pixels();
  if (!win::CopyScreen(picture_, area)) throw std::runtime_error("the screen could not be read");
  if (Pointer()) win::DrawPointer(picture_, area);
  if (!win::HideMasked(picture_, masks_)) throw std::runtime_error("the masks could not be drawn");
  const SeriesWriter::Write write = series_.Start(picture_);
  const std::optional<std::wstring> file = series_.Finish(write);
  if (!file) return AreaWatch::Picture::Failed;
  outcome_.out += write.folder + *file + L"\n";
  return AreaWatch::Picture::Saved;
}

void CommandRunner::ShowWatchState(const std::wstring& text) {
  if (needs_.windows) needs_.windows->ShowStatus(text);
}

void CommandRunner::WatchEnded(const std::wstring& why) {
  delay_.Stop();
  GiveBack();
  if (!why.empty()) {
    outcome_.code = command_line::Failed;
    outcome_.err += why + L"\n";
  }
  if (takingPicture_) endAfterPicture_ = true;
  else End();
}

void CommandRunner::StartRecording() {
  recording::Settings settings = needs_.store.record;
  settings.limitSeconds = command_.recordSeconds;
  KeepOff();
  std::wstring failure;
  if (recorder_.Start(settings, win::TemporaryFolder(), failure)) return;
  GiveBack();
  Fail(L"the recording could not start: " + failure);
}

void CommandRunner::RecordingStopped(const std::wstring& why) {
  GiveBack();
  // The end of its seconds is how a command's recording ends.
  if (!why.empty() && !recorder_.LimitReached()) {
    outcome_.code = command_line::Failed;
    outcome_.err += why + L"\n";
  }
  WriteRecording();
  recorder_.Discard();
  End();
}

void CommandRunner::WriteRecording() {
  if (recorder_.Frames() == 0) {
    outcome_.code = command_line::Failed;
    outcome_.err += L"no frame was recorded\n";
    return;
  }
  const std::wstring path = RecordingPath();
  if (path.empty()) return;
  const bool apng = saves_.Fold()(path).ends_with(L".PNG");
  win::LibraryAnimation& animation = recorder_.Animation(apng);
  const win::WriteOutcome written = saves_.Write([&animation, &path] { return animation.ToFile(path); });
  if (!written.written) {
    outcome_.code = command_line::Failed;
    outcome_.err += save_names::NotSavedText(path, written.Reason(Language()), Language()) + L"\n";
    return;
  }
  outcome_.out += path + L"\n";
}

std::wstring CommandRunner::RecordingPath() {
  if (!command_.out.empty()) return command_.out;
  // Without /out: the folder, name and type of the last recording saved,
  // under the next free number.
  const recording::Settings& settings = needs_.store.record;
  const std::wstring folder = WithSeparator(win::IsFolder(settings.folder) ? settings.folder : win::ExeFolder());
  const std::wstring name = series::UsableBaseName(settings.name) ? settings.name : L"Kirasoe";
  const recording::Type& type = recording::kTypes[settings.type == 1 ? 1 : 0];
  const long long next = series::NextNumber(win::FolderEntries(folder), name, type.extension, saves_.Fold());
  return folder + series::SeriesFileName(name, next, type.extension);
}

void CommandRunner::KeepOff() {
  if (needs_.windows) needs_.windows->KeepOff(area_);
}

void CommandRunner::GiveBack() {
  if (needs_.windows) needs_.windows->GiveBack(needs_.frame, FrameColour(needs_.store.data.lineColour));
}

void CommandRunner::Stop() {
  if (recorder_.Recording()) return recorder_.Stop();
  if (watch_.Running() != AreaWatch::Mode::Off) return watch_.Stop();
  if (!delay_.Running() || !done_) return;
  delay_.Stop();
  Fail(L"stopped before the capture");
}

void CommandRunner::StopForExit() {
  Stop();
  saves_.Writer().WaitForPending();
}

void CommandRunner::Fail(const std::wstring& why) {
  outcome_.code = command_line::Failed;
  if (!why.empty()) outcome_.err += why + L"\n";
  End();
}

void CommandRunner::End() {
  if (!done_) return;
  Done done = std::move(done_);
  done_ = nullptr;
  done(outcome_);
}

#include "app/recorder.h"

#include "win/failure_log.h"
#include "win/files.h"

namespace {

// Often enough to meet every frame of 30 a second on time.
constexpr UINT kTickMilliseconds = 10;

std::int64_t Now() { return static_cast<std::int64_t>(::GetTickCount64()); }

std::wstring LimitText(std::int32_t seconds, texts::Language language) {
  if (seconds % 60 == 0) return texts::Format(texts::Id::RecordingMinutesLimit, language, {std::to_wstring(seconds / 60)});
  return texts::Format(texts::Id::RecordingSecondsLimit, language, {std::to_wstring(seconds)});
}

}  // namespace

bool Recorder::Start(const recording::Settings& settings, const std::wstring& folder, std::wstring& failure) {
  Discard();
  const std::wstring stem = folder + L"Kirasoe.recording." + std::to_wstring(::GetCurrentProcessId());
  win::WriteOutcome begun;
  if (!gif_.Begin(false, stem + L".gif.tmp", begun) || !apng_.Begin(true, stem + L".png.tmp", begun)) {
    Discard();
    failure = begun.Reason(owner_.Language());
    return false;
  }
  clock_ = recording::Clock(settings.framesPerSecond);
  limitMs_ = settings.limitSeconds * 1000LL;
  startedAt_ = Now();
  lastSlot_ = -1;
  frames_ = dropped_ = 0;
  last_.clear();
  if (!ticker_.Start(kTickMilliseconds, [this] { Tick(); })) {
    failure = win::SystemMessage(::GetLastError());
    Discard();
    return false;
  }
  recording_ = true;
  Tick();
  return true;
}

void Recorder::Stop(const std::wstring& why) {
  if (!recording_) return;
  recording_ = false;
  ticker_.Stop();
  // The limit is the end, however late the last tick came.
  endMs_ = std::min(Now() - startedAt_, limitMs_);
  gif_.Finish(endMs_);
  apng_.Finish(endMs_);
  // A frame the encoders could not keep while finishing is said too.
  const std::wstring failed = EncoderFailure();
  owner_.RecordingStopped(why.empty() ? failed : why);
}

void Recorder::Discard() {
  gif_.Finish(endMs_);
  apng_.Finish(endMs_);
  gif_.Animation() = {};
  apng_.Animation() = {};
  frames_ = dropped_ = 0;
}

std::wstring Recorder::EncoderFailure() const {
  win::WriteOutcome failure;
  if (!gif_.Failed(failure) && !apng_.Failed(failure)) return {};
  return texts::Get(texts::Id::RecordingDataNotWritten, owner_.Language()) + (L"\n" + failure.Reason(owner_.Language()));
}

void Recorder::Tick() {
  if (!recording_) return;
  const std::int64_t elapsed = Now() - startedAt_;
  const std::int64_t slot = clock_.FrameAt(elapsed);
  // While the menu or a dialog of ours may show over the area, the frame
  // before shows longer (nothing is dropped); a stop, with its message and
  // the save dialog, waits until they are closed.
  if (owner_.Busy()) {
    lastSlot_ = slot;
    return;
  }
  if (elapsed >= limitMs_) return Stop(LimitText(static_cast<std::int32_t>(limitMs_ / 1000), owner_.Language()));
  if (const std::wstring failed = EncoderFailure(); !failed.empty()) return Stop(failed);
  if (slot <= lastSlot_) return;
  if (lastSlot_ >= 0) dropped_ += slot - lastSlot_ - 1;
  lastSlot_ = slot;
  Sample(elapsed);
  owner_.ShowRecordingState(recording::LabelText(elapsed, frames_, owner_.Language()));
}

void Recorder::Sample(std::int64_t elapsedMs) {
  const geometry::Rect area = owner_.RecordedArea();
  // A screen that cannot be read (a locked session) adds no frame.
  if (!win::CopyScreen(picture_, area)) return;
  if (owner_.PointerRecorded()) win::DrawPointer(picture_, area);
  // Hidden before it is compared: what changes only under a mask adds no frame.
  if (!win::HideMasked(picture_, owner_.HiddenParts()))
    return Stop(texts::Get(texts::Id::PictureNotTaken, owner_.Language()));
  if (!sampler_.Read(picture_, sample_) || sample_ == last_) return;
  if (!gif_.HasRoom() || !apng_.HasRoom()) {
    ++dropped_;  // the encoders are behind: the frame before shows longer
    return;
  }
  win::WriteOutcome failure;
  auto pixels = std::make_shared<const win::LibraryPicture>(win::TakePixels(picture_, failure));
  if (!*pixels)
    return Stop(texts::Get(texts::Id::RecordingDataNotWritten, owner_.Language()) +
                (L"\n" + failure.Reason(owner_.Language())));
  gif_.Add(pixels, elapsedMs);
  apng_.Add(pixels, elapsedMs);
  last_.swap(sample_);
  ++frames_;
}

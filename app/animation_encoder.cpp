#include "app/animation_encoder.h"

#include "win/failure_log.h"

namespace {
// Frames waiting to be encoded; more are dropped, so that a slow disk or
// a heavy area never lets memory grow.
constexpr std::size_t kMaxWaiting = 6;
}  // namespace

bool AnimationEncoder::Begin(bool apng, const std::wstring& framesFile, win::WriteOutcome& failure) {
  animation_ = win::LibraryAnimation::Begin(apng, framesFile, failure);
  if (!animation_) return false;
  finishing_ = failed_ = false;
  shown_ = {};
  thread_ = std::thread([this] { Run(); });
  return true;
}

bool AnimationEncoder::Add(Frame frame, std::int64_t atMs) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!thread_.joinable() || failed_ || queue_.size() >= kMaxWaiting) return false;
    queue_.push_back({std::move(frame), atMs});
  }
  wake_.notify_one();
  return true;
}

bool AnimationEncoder::HasRoom() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return thread_.joinable() && !failed_ && queue_.size() < kMaxWaiting;
}

bool AnimationEncoder::Failed(win::WriteOutcome& failure) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failed_) failure = failure_;
  return failed_;
}

void AnimationEncoder::Finish(std::int64_t endMs) {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finishing_ = true;
    endMs_ = endMs;
  }
  wake_.notify_one();
  thread_.join();
}

void AnimationEncoder::Run() noexcept {
  try {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return !queue_.empty() || finishing_; });
      if (queue_.empty()) break;  // finishing, with every frame taken
      const Item next = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      AddShown(next);
    }
    AddShown({nullptr, endMs_});
  } catch (...) {
    win::LogCurrentException(L"recording encoder");
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
  }
}

void AnimationEncoder::AddShown(const Item& next) {
  // A frame lasts until the next one was taken.
  win::WriteOutcome failure;
  if (shown_.frame && !failed_ && !animation_.Add(*shown_.frame, next.atMs - shown_.atMs, failure)) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    failure_ = failure;
  }
  shown_ = next;
}

#include "app/voice.h"

#include "win/locale.h"
#include "win/message_box.h"

texts::Language Voice::Language() const {
  return texts::Resolve(options_->language, win::UserLanguageIsJapanese());
}

void Voice::Tell(const std::wstring& text) const {
  if (report_) return (*report_)(text);
  const ActivityState::Scope message = activity_->Enter(Activity::Dialog);
  win::ShowMessage(text);
}

bool Voice::Ask(const std::wstring& question) const {
  if (report_) return false;
  const ActivityState::Scope message = activity_->Enter(Activity::Dialog);
  return win::AskYesNo(question);
}

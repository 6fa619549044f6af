// How the program speaks to the user: every text in the language chosen in
// 設定 (or the user's own), and messages and questions that run as a dialog
// inside whatever runs, so that nothing else starts while one is open.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "core/activity.h"
#include "core/options.h"
#include "core/texts.h"

class Voice {
 public:
  Voice(ActivityState& activity, const options::Options& options) : activity_(&activity), options_(&options) {}
  // A voice for a script's command: what would be a message goes to
  // `report` (the command's error output), and a question is answered no.
  using Report = std::function<void(const std::wstring&)>;
  Voice(ActivityState& activity, const options::Options& options, const Report& report)
      : activity_(&activity), options_(&options), report_(&report) {}
  texts::Language Language() const;
  std::wstring Say(texts::Id id) const { return texts::Get(id, Language()); }
  std::wstring Say(texts::Id id, std::initializer_list<std::wstring> values) const {
    return texts::Format(id, Language(), values);
  }
  // A message with its OK button.
  void Tell(const std::wstring& text) const;
  // A question: true for yes.
  bool Ask(const std::wstring& question) const;

 private:
  ActivityState* activity_;
  const options::Options* options_;
  const Report* report_ = nullptr;
};

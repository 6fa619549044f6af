#include "core/log_rules.h"

namespace log_rules {

std::vector<std::wstring> Repeats::Lines(const std::wstring& failure) {
  if (failure == last_) {
    ++repeats_;
    return {};
  }
  std::vector<std::wstring> lines = Flush();
  lines.push_back(failure);
  last_ = failure;
  return lines;
}

std::vector<std::wstring> Repeats::Flush() {
  if (repeats_ == 0) return {};
  std::vector<std::wstring> lines{last_ + L" (repeated " + std::to_wstring(repeats_) + L" more times)"};
  repeats_ = 0;
  return lines;
}

}  // namespace log_rules

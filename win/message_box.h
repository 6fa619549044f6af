// Message boxes with the program's title.
#pragma once

#include <string>

namespace win {

// Modal, OK only, no icon.
void ShowMessage(const std::wstring& text);
// Modal Yes/No question; true for Yes.
bool AskYesNo(const std::wstring& text);

}  // namespace win

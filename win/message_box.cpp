#include "win/message_box.h"

#include <windows.h>

namespace win {

void ShowMessage(const std::wstring& text) { ::MessageBoxW(::GetActiveWindow(), text.c_str(), L"Kirasoe", MB_OK); }

bool AskYesNo(const std::wstring& text) {
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), L"Kirasoe", MB_YESNO) == IDYES;
}

}  // namespace win

// The platform's save dialog with the program's file types.
#pragma once

#include <windows.h>

#include <string>

namespace win {

struct SaveDialogResult {
  // The filter index digits followed by the whole file buffer (the chosen
  // path, a NUL and whatever the buffer still holds); empty on cancel or
  // failure. The file buffer holds the longest path the system allows.
  std::wstring text;
  // 0 when the dialog was confirmed or cancelled; the dialog's error code
  // (CommDlgExtendedError) when it failed.
  unsigned error = 0;
};

SaveDialogResult ShowSaveDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, int filterIndex);

inline constexpr std::size_t kMaxFile = 32768;

}  // namespace win

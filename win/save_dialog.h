// The platform's save dialog with the program's file types.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "core/save_names.h"

namespace win {

struct SaveDialogResult {
  // The type and path chosen; nullopt on cancel or failure. The path may be
  // as long as the system allows.
  std::optional<save_names::DialogChoice> choice;
  // 0 when the dialog was confirmed or cancelled; the dialog's error code
  // (CommDlgExtendedError) when it failed.
  unsigned error = 0;
};

SaveDialogResult ShowSaveDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, int filterIndex, const std::wstring& title);

inline constexpr std::size_t kMaxFile = 32768;

}  // namespace win

// The platform's save dialog with the program's file types.
#pragma once

#include <windows.h>

#include <string>

namespace mod_OpenSaveFile {

// The filter index digits followed by the whole file buffer (the chosen path,
// a NUL and whatever the buffer still holds); empty on cancel or failure.
std::wstring ShowSaveFileDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, float filterIndex);

}  // namespace mod_OpenSaveFile

// The program's own module: its handle, folder and name.
#pragma once

#include <windows.h>

#include <string>

namespace win {

HINSTANCE Instance();
// The executable's full path.
std::wstring ExePath();
// Folder of the executable, no trailing "\" except a drive root.
std::wstring ExeFolder();
// The executable's file name without extension.
std::wstring ExeBaseName();

}  // namespace win

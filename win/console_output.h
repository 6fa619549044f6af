// What a command prints, on the standard output and error it was given
// (the console twin's pipes, a file, or nothing when there is none): UTF-8,
// or the console's own text where the handle is a console.
#pragma once

#include <string>

namespace win {

void PrintOut(const std::wstring& text);
void PrintError(const std::wstring& text);
// `path` as a full path, from the current folder as the system resolves
// it; as it stands when the system cannot.
std::wstring FullPath(const std::wstring& path);

}  // namespace win

// What a command prints, on the standard output and error it was given
// (the console, a file or a pipe, or nothing when there is none): the
// console's own text, in its code page when redirected, and UTF-8 from a
// program without a console.
#pragma once

#include <string>

namespace win {

void PrintOut(const std::wstring& text);
void PrintError(const std::wstring& text);
// `path` as a full path, from the current folder as the system resolves
// it; as it stands when the system cannot.
std::wstring FullPath(const std::wstring& path);

}  // namespace win

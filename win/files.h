// Files and folders as the program needs them, by wide path.
#pragma once

#include <string>
#include <vector>

namespace win {

// The file system's case folding: names compare equal when their folded
// forms do (upper case, locale-independent, as NTFS compares).
std::wstring FoldFileName(const std::wstring& name);

bool IsFolder(const std::wstring& path);
bool Exists(const std::wstring& path);
// The names of the entries of `folder` (which ends in "\").
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// Creates `path` only when nothing of that name exists; true when it did.
bool CreateNewFile(const std::wstring& path);
void RemoveFile(const std::wstring& path);

}  // namespace win
